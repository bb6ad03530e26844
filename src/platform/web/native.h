// The page element behind each control, and what the controls' files share:
// placing an element, styling it, and hearing the page's events.
#pragma once

#include "platform/controls.h"
#include "platform/picture.h"

#include <emscripten/val.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct Native {
    // A new element of the given tag and class, placed absolutely in its
    // container once it is added to one.
    Native(const char *tag, const char *className);
    // Takes the element off the page; its events reach nothing any more.
    ~Native();

    emscripten::val element; // what is placed in the container
    emscripten::val content; // what is painted, and where children go
    emscripten::val control; // what takes the keyboard focus and the accessible name
    // Text shown beside the control, as a check box's label.
    emscripten::val caption = emscripten::val::undefined();
    // A hidden element of the page that holds the accessible description.
    emscripten::val description = emscripten::val::undefined();
    // What "Copy picture", "Save picture" and "Share" hand out, drawn when
    // the page asks for it (see quorvel_image_svg).
    Image image;
    // What "Which levels see" in the same box does (see setLevelsAction).
    std::function<void()> levels;

    Component *owner = nullptr;
    // The container and the children, each forgetting the other when it goes.
    Native *parent = nullptr;
    std::vector<Native *> children;
    // Bounds as given: from the parent's outer corner, or on the page for a frame.
    int x = 0, y = 0, width = 0, height = 0;
    // The decoration between a frame's outer corner and its content.
    int insetLeft = 0, insetTop = 0, insetRight = 0, insetBottom = 0;

    // A top-level frame's own.
    bool frame = false;
    bool opened = false;
    Button *defaultButton = nullptr;
    std::vector<std::unique_ptr<WindowListener>> windowListeners;
    emscripten::val title = emscripten::val::undefined();
    emscripten::val handle = emscripten::val::undefined();

    // Puts the element where its bounds say.
    void place();
    void setParent(Native *container);
};

namespace web {

// What the page tells the program, with the component it is for.
enum class Signal : int { Press = 1, Enter, Activated, Deactivated, Iconified, Deiconified };

// Delivers signal to target whenever source (an element, the document or the
// browser window) fires an event of the given type; the listener lives as
// long as target.
void listen(Native &target, const emscripten::val &source, const char *type, Signal signal);

// Lets the page's keypad, on a touch screen, type into a text field; its
// "Next" after the field's window's last field is Enter in the field.
void joinKeypad(Native &field);

// Whether the program still runs: after exit(), nothing is delivered.
bool running();

emscripten::val document();
// Where the program's windows and notes go: the page's main landmark.
emscripten::val main();
// A new element of the given tag, and of the given class unless it is empty.
emscripten::val create(const char *tag, const char *className = "");
void setStyle(const emscripten::val &element, const char *property, const std::string &value);
void setAttribute(const emscripten::val &element, const char *name, const std::string &value);
// A length of the form's pixels. The page sets their size: one CSS pixel on a
// desktop, more on a phone, where the window is scaled up to fill the screen.
std::string length(long long pixels);
// A colour as CSS writes it.
std::string color(Color c);

} // namespace web
} // namespace platform
