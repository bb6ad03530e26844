#include "native.h"

using emscripten::val;

extern "C" {
// From copy.js: the page's copy, with nothing selected in the window, copies
// what component's "Copy" copies.
void quorvel_default_copy(emscripten::EM_VAL window, emscripten::EM_VAL component);
}

namespace platform {

namespace {

// The page draws each window as a desktop draws a decorated one: a one-pixel
// border, a 19-pixel title strip, and a handle along the bottom.
constexpr int borderLeft = 1, borderTop = 20, borderRight = 1, borderBottom = 5;

std::unique_ptr<Native> window() {
    auto native = std::make_unique<Native>("div", "q-frame");
    native->frame = true;
    native->insetLeft = borderLeft;
    native->insetTop = borderTop;
    native->insetRight = borderRight;
    native->insetBottom = borderBottom;
    native->title = web::create("h1", "q-title");
    native->content = web::create("div", "q-client");
    native->handle = web::create("div", "q-handle");
    for (const val *part : {&native->title, &native->content, &native->handle})
        native->element.call<void>("appendChild", *part);
    native->element.set("hidden", true);
    web::main().call<void>("appendChild", native->element);
    return native;
}

} // namespace

Frame::Frame() : Container(window()) {
    Native &n = native();
    web::listen(n, val::global("window"), "focus", web::Signal::Activated);
    web::listen(n, val::global("window"), "blur", web::Signal::Deactivated);
    // A page in a hidden tab, or a browser sent to the background, is the
    // nearest thing to an iconified window; the listener picks which by the
    // page's visibility.
    web::listen(n, web::document(), "visibilitychange", web::Signal::Iconified);
    // A browser has no close box for a page: closing the tab ends the page and
    // the program with it, and no request to close reaches the listeners.
}

Frame::~Frame() = default;

void Frame::setTitle(std::string_view title) {
    const val text(std::string{title});
    native().title.set("textContent", text);
    web::document().set("title", text);
}

void Frame::setSize(int width, int height) {
    native().width = width;
    native().height = height;
    native().place();
}

void Frame::setLocation(int x, int y) {
    native().x = x;
    native().y = y;
    native().place();
}

void Frame::setVisible(bool visible) {
    Native &n = native();
    n.element.set("hidden", !visible);
    if (!visible || n.opened)
        return;
    n.opened = true;
    const WindowEvent e{this};
    for (std::size_t i = 0; i < n.windowListeners.size(); ++i)
        n.windowListeners[i]->windowOpened(e);
    if (web::document().call<bool>("hasFocus"))
        for (std::size_t i = 0; i < n.windowListeners.size(); ++i)
            n.windowListeners[i]->windowActivated(e);
}

void Frame::addWindowListener(std::unique_ptr<WindowListener> listener) {
    native().windowListeners.push_back(std::move(listener));
}

void Frame::setDefaultButton(Button &button) {
    native().defaultButton = &button;
}

// The browser's own copy (Ctrl+C, Command-C on a Mac, the menu's "Copy"),
// which the page hears as it happens.
void Frame::setDefaultCopy(Component &component) {
    quorvel_default_copy(native().element.as_handle(), component.native().element.as_handle());
}

} // namespace platform
