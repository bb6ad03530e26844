#include "native.h"

#include <QPushButton>

namespace platform {

Button::Button() : Component(qt::wrap(new QPushButton)) {
    auto *button = qt::widget<QPushButton>(*this);
    // Enter in a field is the frame's business, not the focused button's.
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [this] { press(); });
}

void Button::setLabel(std::string_view label) {
    qt::widget<QPushButton>(*this)->setText(qt::qstring(label));
}

} // namespace platform
