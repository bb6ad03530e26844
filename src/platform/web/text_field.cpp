#include "native.h"

using emscripten::val;

namespace platform {

namespace {

std::unique_ptr<Native> input() {
    auto native = std::make_unique<Native>("input", "q-field");
    val &field = native->element;
    field.set("type", val("text"));
    // The text stays exactly as typed: no correction, capitals, suggestions or
    // remembered entries.
    for (const char *attribute : {"autocomplete", "autocorrect", "autocapitalize"})
        web::setAttribute(field, attribute, "off");
    field.set("spellcheck", false);
    // The keyboard a phone offers. Every numeric kind drops something the
    // rule needs on some phone: "numeric" and "tel" have no point or minus on
    // one major system, and "decimal" offers the locale's separator, a lone
    // comma in many languages, and no minus. "2,5" is refused and "-1" is a
    // fair height, so the fields ask for the full keyboard, whose number
    // layer has the digits, the point and the minus everywhere. On a touch
    // screen the page's own keypad stands in for it (see joinKeypad).
    web::setAttribute(field, "inputmode", "text");
    // Enter calculates.
    web::setAttribute(field, "enterkeyhint", "go");
    return native;
}

} // namespace

TextField::TextField() : Component(input()) {
    web::listen(native(), native().element, "keydown", web::Signal::Enter);
    web::joinKeypad(native());
}

std::string TextField::text() const {
    return native().control["value"].as<std::string>();
}

void TextField::setText(std::string_view text) {
    native().control.set("value", val(std::string{text}));
}

} // namespace platform
