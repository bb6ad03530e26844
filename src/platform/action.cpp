#include "action.h"

namespace platform {

Button::Button() {
    // Enter and Return in a form's fields are handled by the form itself.
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &Button::fire);
}

void Button::addActionListener(std::shared_ptr<ActionListener> listener) {
    listeners_.push_back(std::move(listener));
}

void Button::fire() {
    const ActionEvent e{this};
    // A listener may add listeners; walk a copy so that this press reaches
    // exactly those registered when it happened.
    const auto listeners = listeners_;
    for (const auto &listener : listeners)
        listener->actionPerformed(e);
}

} // namespace platform
