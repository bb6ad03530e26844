#include "native.h"

using emscripten::val;

namespace platform {

namespace {

// A box with its label beside it; a click on the label ticks the box too.
std::unique_ptr<Native> box() {
    auto native = std::make_unique<Native>("label", "q-check");
    native->control = web::create("input");
    native->control.set("type", val("checkbox"));
    native->caption = web::create("span");
    native->element.call<void>("appendChild", native->control);
    native->element.call<void>("appendChild", native->caption);
    return native;
}

} // namespace

Checkbox::Checkbox() : Component(box()) {}

void Checkbox::setLabel(std::string_view label) {
    native().caption.set("textContent", val(std::string{label}));
}

bool Checkbox::state() const {
    return native().control["checked"].as<bool>();
}

void Checkbox::setState(bool ticked) {
    native().control.set("checked", ticked);
}

} // namespace platform
