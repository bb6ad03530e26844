#include "native.h"

using emscripten::val;

namespace platform {

Label::Label() : Component(std::make_unique<Native>("div", "q-label")) {}

void Label::setText(std::string_view text) {
    native().element.set("textContent", val(std::string{text}));
}

void Label::setAlignment(Alignment alignment) {
    const char *justify = alignment == Center  ? "center"
                          : alignment == Right ? "flex-end"
                                               : "flex-start";
    web::setStyle(native().element, "justify-content", justify);
}

// A status line: screen readers read each new text out, politely, whole.
void Label::setLive() {
    web::setAttribute(native().element, "role", "status");
}

} // namespace platform
