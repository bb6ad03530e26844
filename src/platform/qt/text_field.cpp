#include "native.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace platform {

namespace {

// A line edit that leaves the Copy key to the window while nothing in it is
// selected: QLineEdit claims the key even then, and copies nothing.
class LineEdit : public QLineEdit {
protected:
    bool event(QEvent *e) override {
        if (e->type() == QEvent::ShortcutOverride && !hasSelectedText() &&
            static_cast<QKeyEvent *>(e)->matches(QKeySequence::Copy)) {
            e->ignore();
            return true;
        }
        return QLineEdit::event(e);
    }
};

QLineEdit *edit(const TextField &field) {
    return qt::widget<QLineEdit>(field);
}
} // namespace

TextField::TextField() : Component(qt::wrap(new LineEdit)) {}

std::string TextField::text() const {
    return edit(*this)->text().toStdString();
}

void TextField::setText(std::string_view text) {
    edit(*this)->setText(qt::qstring(text));
}

} // namespace platform
