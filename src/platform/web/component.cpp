#include "native.h"
#include "platform/picture.h"
#include "platform/svg.h"

#include <emscripten/em_macros.h>

#include <algorithm>

using emscripten::val;

extern "C" {
// From form.js: the page's most frequent writes, one call each, and its
// listeners, kept on owner's element.
emscripten::EM_VAL quorvel_create(const char *tag, const char *className);
void quorvel_set_style(emscripten::EM_VAL element, const char *property, const char *value);
void quorvel_set_attribute(emscripten::EM_VAL element, const char *name, const char *value);
void quorvel_place(emscripten::EM_VAL element, double left, double top, double width,
                   double height);
void quorvel_listen(emscripten::EM_VAL owner, emscripten::EM_VAL source, const char *type,
                    int signal, platform::Native *target);
void quorvel_forget(emscripten::EM_VAL owner);
// From keypad.js.
void quorvel_keypad_join(emscripten::EM_VAL field, int signal, platform::Native *target);
// From tip.js, copy.js and image.js: what the tooltip's box shows and hands out.
void quorvel_tip(emscripten::EM_VAL element, const char *text, const char *svg);
void quorvel_levels(emscripten::EM_VAL element, platform::Native *target);
void quorvel_copy_text(emscripten::EM_VAL element, const char *text);
void quorvel_image(emscripten::EM_VAL element, platform::Native *target, const char *name);
}

namespace platform {

namespace web {

val document() {
    return val::global("document");
}

val main() {
    const val found = document().call<val>("querySelector", val("main"));
    return found.isNull() ? document()["body"] : found;
}

val create(const char *tag, const char *className) {
    return val::take_ownership(quorvel_create(tag, className));
}

void setStyle(const val &element, const char *property, const std::string &value) {
    quorvel_set_style(element.as_handle(), property, value.c_str());
}

void setAttribute(const val &element, const char *name, const std::string &value) {
    quorvel_set_attribute(element.as_handle(), name, value.c_str());
}

std::string color(Color c) {
    return "rgb(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
           std::to_string(c.blue) + ")";
}

std::string length(long long pixels) {
    return "calc(var(--u) * " + std::to_string(pixels) + ")";
}

void listen(Native &target, const val &source, const char *type, Signal signal) {
    quorvel_listen(target.element.as_handle(), source.as_handle(), type, static_cast<int>(signal),
                   &target);
}

void joinKeypad(Native &field) {
    quorvel_keypad_join(field.control.as_handle(), static_cast<int>(Signal::Enter), &field);
}

namespace {

Frame *frameOf(Native *native) {
    while (native->parent)
        native = native->parent;
    return native->frame ? static_cast<Frame *>(native->owner) : nullptr;
}

void notify(Native &frame, void (WindowListener::*handler)(const WindowEvent &)) {
    const WindowEvent e{static_cast<Frame *>(frame.owner)};
    // By index: a listener may add another.
    for (std::size_t i = 0; i < frame.windowListeners.size(); ++i)
        (frame.windowListeners[i].get()->*handler)(e);
}

} // namespace

// Called from the page's event listeners, one event at a time.
extern "C" EMSCRIPTEN_KEEPALIVE void quorvel_deliver(Native *target, int signal) {
    if (!running())
        return;
    switch (static_cast<Signal>(signal)) {
    case Signal::Press:
        static_cast<Button *>(target->owner)->press();
        break;
    case Signal::Enter:
        if (Frame *frame = frameOf(target); frame && frame->native().defaultButton)
            frame->native().defaultButton->press();
        break;
    case Signal::Activated:
        notify(*target, &WindowListener::windowActivated);
        break;
    case Signal::Deactivated:
        notify(*target, &WindowListener::windowDeactivated);
        break;
    case Signal::Iconified:
        notify(*target, &WindowListener::windowIconified);
        break;
    case Signal::Deiconified:
        notify(*target, &WindowListener::windowDeiconified);
        break;
    }
}

} // namespace web

Native::Native(const char *tag, const char *className)
    : element(web::create(tag, className)), content(element), control(element) {}

Native::~Native() {
    setParent(nullptr);
    for (Native *child : children)
        child->parent = nullptr;
    quorvel_forget(element.as_handle());
    element.call<void>("remove");
    if (!description.isUndefined())
        description.call<void>("remove");
}

void Native::place() {
    using web::setStyle;
    // In 64 bits: an int less an inset cannot overflow. A double holds each
    // exactly.
    using Wide = long long;
    auto box = [](const val &part, Wide left, Wide top, Wide w, Wide h) {
        quorvel_place(part.as_handle(), static_cast<double>(left), static_cast<double>(top),
                      static_cast<double>(std::max<Wide>(w, 0)),
                      static_cast<double>(std::max<Wide>(h, 0)));
    };
    if (frame) {
        // Where the page puts a window is the page's own rule (see the
        // stylesheet): at its place on a desktop, filling the screen on a phone.
        setStyle(element, "--x", std::to_string(x) + "px");
        setStyle(element, "--y", std::to_string(y) + "px");
        setStyle(element, "--w", std::to_string(std::max(width, 1)));
        setStyle(element, "--h", std::to_string(std::max(height, 1)));
        const Wide inner = Wide{width} - insetLeft - insetRight;
        box(title, insetLeft, 1, inner, insetTop - 1);
        box(content, insetLeft, insetTop, inner, Wide{height} - insetTop - insetBottom);
        box(handle, insetLeft, Wide{height} - insetBottom + 1, inner, insetBottom - 2);
        return;
    }
    box(element, Wide{x} - (parent ? parent->insetLeft : 0),
        Wide{y} - (parent ? parent->insetTop : 0), width, height);
}

void Native::setParent(Native *container) {
    if (parent)
        std::erase(parent->children, this);
    parent = container;
    if (parent)
        parent->children.push_back(this);
}

Component::Component(std::unique_ptr<Native> native) : native_(std::move(native)) {
    native_->owner = this;
}

Component::~Component() = default;

void Component::setBackground(Color color) {
    web::setStyle(native_->content, "background-color", web::color(color));
}

void Component::setFont(const Font &font) {
    const val &content = native_->content;
    // "Dialog" is the face the form was laid out in, which the page brings.
    web::setStyle(content, "font-family",
                  font.family == "Dialog" ? std::string("var(--dialog)")
                                          : "\"" + font.family + "\", var(--dialog)");
    web::setStyle(content, "font-weight", font.style & Font::Bold ? "700" : "400");
    web::setStyle(content, "font-style", font.style & Font::Italic ? "italic" : "normal");
    web::setStyle(content, "font-size", web::length(std::max(font.size, 0)));
}

void Component::setBounds(int x, int y, int width, int height) {
    native_->x = x;
    native_->y = y;
    native_->width = width;
    native_->height = height;
    native_->place();
}

void Component::requestFocus() {
    native_->control.call<void>("focus");
}

void Component::setAccessibleName(std::string_view name) {
    web::setAttribute(native_->control, "aria-label", std::string(name));
    // The name stands for the caption, which screen readers then skip.
    if (!native_->caption.isUndefined())
        web::setAttribute(native_->caption, "aria-hidden", "true");
}

void Component::setAccessibleDescription(std::string_view text) {
    Native &n = *native_;
    if (text.empty()) {
        n.control.call<void>("removeAttribute", val("aria-describedby"));
        if (!n.description.isUndefined())
            n.description.set("textContent", val(""));
        return;
    }
    if (n.description.isUndefined()) {
        // Hidden from view, and still read as the control's description.
        static int made = 0;
        n.description = web::create("div");
        n.description.set("hidden", true);
        n.description.set("id", val("q-description-" + std::to_string(++made)));
        web::main().call<void>("appendChild", n.description);
    }
    n.description.set("textContent", val(std::string(text)));
    web::setAttribute(n.control, "aria-describedby", n.description["id"].as<std::string>());
}

// The page shows the tooltip in a box of its own (the browser's shows no
// picture), and builds that box the first time it is needed; the picture
// goes to it as an SVG document, which the box shows as it is.
void Component::setToolTip(std::string_view text, const Picture *picture) {
    const std::string drawn =
        picture && !picture->empty() && !text.empty() ? svg(*picture) : std::string();
    quorvel_tip(native_->element.as_handle(), std::string(text).c_str(), drawn.c_str());
}

void Component::setCopyText(std::string_view text) {
    quorvel_copy_text(native_->element.as_handle(), std::string(text).c_str());
}

void Container::add(Component &child) {
    Native &c = child.native();
    c.setParent(&native());
    native().content.call<void>("appendChild", c.element);
    c.place();
}

// The page hears only that there is an image, and its name; it asks for the
// image itself when the tooltip's box opens.
void Component::setImage(Image image) {
    Native &n = *native_;
    n.image = std::move(image);
    quorvel_image(n.element.as_handle(), n.image.empty() ? nullptr : &n, n.image.name.c_str());
}

// Called from the tooltip's box as it opens: the image of target as an SVG
// document, valid until the next call; empty where there is none.
extern "C" EMSCRIPTEN_KEEPALIVE const char *quorvel_image_svg(Native *target) {
    static std::string drawn;
    drawn = web::running() && !target->image.empty() ? svg(target->image.make()) : std::string();
    return drawn.c_str();
}

// The scale of every raster image the page hands out, on a screen of the
// given scale: the program's own, the same as the desktops'.
extern "C" EMSCRIPTEN_KEEPALIVE int quorvel_raster_scale(double screenScale) {
    return rasterScale(screenScale);
}

// The page hears only whether there is such an action; its button asks for
// it to be done.
void Component::setLevelsAction(std::function<void()> action) {
    Native &n = *native_;
    n.levels = std::move(action);
    quorvel_levels(n.element.as_handle(), n.levels ? &n : nullptr);
}

// Called from the button "Which levels see" in the tooltip's box.
extern "C" EMSCRIPTEN_KEEPALIVE void quorvel_levels_open(Native *target) {
    if (!web::running() || !target->levels)
        return;
    // A copy: the action may give the component another.
    const std::function<void()> action = target->levels;
    action();
}

} // namespace platform
