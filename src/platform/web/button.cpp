#include "native.h"

using emscripten::val;

namespace platform {

namespace {

std::unique_ptr<Native> pushButton() {
    auto native = std::make_unique<Native>("button", "q-button");
    native->element.set("type", val("button"));
    return native;
}

} // namespace

// A click, a tap, or Space or Enter on the focused button: one press each.
Button::Button() : Component(pushButton()) {
    web::listen(native(), native().element, "click", web::Signal::Press);
}

void Button::setLabel(std::string_view label) {
    native().element.set("textContent", val(std::string{label}));
}

} // namespace platform
