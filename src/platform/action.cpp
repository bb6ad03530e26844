#include "controls.h"

namespace platform {

void Button::addActionListener(std::shared_ptr<ActionListener> listener) {
    listeners_.push_back(std::move(listener));
}

void Button::press() {
    const ActionEvent e{this};
    // A listener may add listeners; walk a copy so that this press reaches
    // exactly those registered when it happened.
    const auto listeners = listeners_;
    for (const auto &listener : listeners)
        listener->actionPerformed(e);
}

} // namespace platform
