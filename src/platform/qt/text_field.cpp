#include "native.h"

#include <QLineEdit>

namespace platform {

namespace {
QLineEdit *edit(const TextField &field) {
    return qt::widget<QLineEdit>(field);
}
} // namespace

TextField::TextField() : Component(qt::wrap(new QLineEdit)) {}

std::string TextField::text() const {
    return edit(*this)->text().toStdString();
}

void TextField::setText(std::string_view text) {
    edit(*this)->setText(qt::qstring(text));
}

} // namespace platform
