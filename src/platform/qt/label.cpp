#include "native.h"

#include <QLabel>

namespace platform {

namespace {
QLabel *label(const Label &l) {
    return qt::widget<QLabel>(l);
}
} // namespace

Label::Label() : Component(qt::wrap(new QLabel)) {}

void Label::setText(std::string_view text) {
    label(*this)->setText(qt::qstring(text));
}

void Label::setAlignment(Alignment alignment) {
    switch (alignment) {
    case Left:
        label(*this)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    case Center:
        label(*this)->setAlignment(Qt::AlignCenter);
        break;
    case Right:
        label(*this)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
    }
}

void Label::setLive() {
    // A label without a name of its own is named by its text, and Qt tells
    // screen readers of every change of that name: nothing more to do.
}

} // namespace platform
