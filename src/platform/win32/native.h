// The Windows side of a component: one native window (a frame, a panel or a
// system control) and what the component was told before that window existed.
//
// A control's window is made when the control is added to a container that has
// one, since a Windows control keeps the parent it was born with. Until then
// its text, state and bounds wait here. Bounds are kept in the form's pixels
// (96 to the inch) and scaled to the window's dots per inch when applied.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/controls.h"
#include "platform/picture.h"
#include "platform/runtime.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Native {
    Native(const wchar_t *windowClass, DWORD style, DWORD exStyle = 0)
        : windowClass(windowClass), style(style), exStyle(exStyle) {}
    Native(const Native &) = delete;
    Native &operator=(const Native &) = delete;
    virtual ~Native();

    static std::unique_ptr<Native> make(const wchar_t *windowClass, DWORD style,
                                        DWORD exStyle = 0) {
        return std::make_unique<Native>(windowClass, style, exStyle);
    }

    Component *component = nullptr;
    const wchar_t *windowClass;
    DWORD style, exStyle;
    HWND hwnd = nullptr;
    bool topLevel = false;
    Native *parent = nullptr;
    std::vector<Native *> children; // in add order, which is the focus order
    void (*onCreate)(Native &) = nullptr;

    std::wstring text; // kept here only while there is no window
    bool checked = false;
    int x = 0, y = 0, width = 0, height = 0; // form pixels, in the parent
    Label::Alignment alignment = Label::Left;
    bool live = false;
    std::wstring accessibleName, accessibleDescription;
    bool annotated = false;         // handed to the annotation service
    std::wstring toolTip;           // lines ended by "\r\n"
    bool tipAdded = false;          // a tool of the frame's tooltip control
    std::optional<Picture> picture; // above the tooltip's lines
    std::wstring copyText;          // lines ended by "\r\n"
    Image image;                    // for Copy Picture and Save Picture
    std::function<void()> levels;   // for Which Levels See

    std::optional<Color> background;
    HBRUSH brush = nullptr; // of background
    std::optional<Font> font;

    // Makes the window under the parent's, then those of the children; and
    // takes them down again, keeping what they show.
    void realize();
    void unrealize();
    // Puts the window at its bounds, scaled, less the frame's insets for a
    // child of a frame.
    void place();
    // Gives the window the font in effect, and passes it on to the children
    // that have none of their own (all children when every is set).
    void applyFont(bool every = false);
    // Told when what the component hands out (copyText, image) changes.
    virtual void offersChanged() {}

    Native &root();
    UINT dpi();
    COLORREF effectiveColor() const;
    HBRUSH effectiveBrush() const;
    const Font &effectiveFont() const;
    std::wstring windowText() const;
    void setText(std::wstring text);
};

// A top-level window: its keys go through its accelerator table, then
// through the dialog keys (Tab, the arrows, Enter, Escape, Alt and a letter).
struct WindowNative : Native {
    using Native::Native;
    ~WindowNative() override;
    HACCEL keys = nullptr;
};

// A top-level window with its listeners and keyboard state.
struct FrameNative : WindowNative {
    FrameNative();
    std::vector<std::unique_ptr<WindowListener>> listeners;
    Native *defaultButton = nullptr;
    HWND lastFocus = nullptr;      // the control that had the focus, for reactivation
    POINT insets{};                // of the frame, as last applied to the children
    HWND tips = nullptr;           // the tooltip control, made for the first tooltip
    Native *defaultCopy = nullptr; // whose menu the keys do, the Copy key with no text selected
    bool opened = false, iconified = false;
};

// The commands of the menu's items and of their keys; clear of the controls'
// identifiers and of those the dialog keys send (IDOK, IDCANCEL).
enum : WORD { copyCommand = 0x7100, copyPictureCommand, savePictureCommand, levelsCommand };

// The keys of those commands, as an accelerator table: Ctrl+C and
// Ctrl+Insert, Ctrl+Shift+C, Ctrl+S and Ctrl+L.
HACCEL menuKeys();

// What a component hands out, kept apart from it (a command may change the
// component): which of the commands it has, and each done as its item does
// it, over the owner's window.
struct Offers {
    explicit Offers(Native &n) : text(n.copyText), image(n.image), levels(n.levels), dpi(n.dpi()) {}
    bool has(WORD command) const;
    bool any() const { return has(copyCommand) || has(copyPictureCommand) || has(levelsCommand); }
    void run(WORD command, HWND owner) const;

    std::wstring text;
    Image image;
    std::function<void()> levels;
    UINT dpi;
};

// Form pixels to device pixels.
inline int scale(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

std::wstring wide(std::string_view text);
std::string narrow(std::wstring_view text);

// Registers a window class of the program's, with its icon and the arrow.
const wchar_t *registerClass(const wchar_t *name, WNDPROC procedure, HBRUSH background = nullptr);
// The window class of frames and panels, registered on first use.
const wchar_t *containerClass();

// The face for a font at the given dots per inch, in the screen's own look or
// another quality; the handle lives as long as the program.
HFONT fontHandle(const Font &font, UINT dpi, BYTE quality = DEFAULT_QUALITY);

// The component behind a window of ours, if any.
Native *nativeOf(HWND hwnd);
void attach(Native &native, HWND hwnd);

// What frames and panels do for the controls in them: their colours, owner
// drawing and clicks.
bool containerMessage(Native &container, UINT message, WPARAM wParam, LPARAM lParam,
                      LRESULT &result);
void drawButton(Native &button, const DRAWITEMSTRUCT &item);
void drawLabel(Native &label, const DRAWITEMSTRUCT &item);

// Hands the accessible name and description and, for a live label, its
// politeness to screen readers (once the frame has shown: all of them then),
// and takes them back when the window goes.
void annotate(Native &native);
void annotateAll(Native &native);
void forget(Native &native);

// Gives the component's window its tooltip, changes it, or takes it away
// when the tooltip is empty or the window goes; and fits the frame's tooltips
// to its dots per inch.
void showToolTip(Native &native);
void dropToolTip(Native &native);
void fitToolTips(FrameNative &frame);
// Answers the frame's tooltip control, which asks a tool's container for
// the tool's text and tells the frame as it draws; false for any other
// notice.
bool answerToolTip(Native &container, NMHDR &notice, LRESULT &result);

// Text in Windows' line ends, "\r\n".
std::wstring windowsLines(std::string_view text);

// Draws a picture with its top-left corner at the given place, scaled from
// the form's pixels to the dots per inch, its texts in fonts of the quality
// given (the screen's own look unless told).
void drawPicture(HDC dc, POINT corner, const Picture &picture, UINT dpi,
                 BYTE quality = DEFAULT_QUALITY);

// Shows the context menu of the component under the pointer in a container,
// or of the container itself, where one has a text or an image to copy or a
// table to show: "Copy", "Copy Picture", "Save Picture…" and "Which Levels
// See…" as it has them, with their keys where they are the frame's; false
// where none has.
bool showCopyMenu(Native &container, LPARAM where);

// Puts the text on the clipboard, as Unicode text. A clipboard that stays
// busy, or memory that cannot be had, is told in a message box over the
// owner, and the clipboard is left as it was.
void copyText(HWND owner, const std::wstring &text);
// The same for the image, as a bitmap and as PNG, drawn at the dots per
// inch given or at the least scale of an image where that is more.
void copyPicture(HWND owner, const Image &image, UINT dpi);
// Asks where to save the image, and saves it there as PNG or SVG as the name
// or the dialog's type says; a file that cannot be written is told in a
// message box, and any file that was there before is left as it was. The
// image is the one given, whatever its component shows by the time the
// player has answered.
void savePicture(HWND owner, Image image, UINT dpi);
// A format's bytes for the clipboard, in memory made and filled before the
// clipboard is opened (none where it could not be had). putOnClipboard puts
// them all there and frees what the clipboard did not take; where any is
// missing, or the clipboard stays busy, it says so and changes nothing; where
// Windows does not take them all, it says so, and that the clipboard is now
// empty.
struct ClipboardData {
    UINT format;
    HGLOBAL memory;
};
HGLOBAL clipboardMemory(std::initializer_list<std::span<const std::byte>> parts);
void putOnClipboard(HWND owner, std::span<ClipboardData> data);
// In a message box over the owner's window, titled with what did not happen.
constexpr const wchar_t *notCopied = L"Nothing Copied", *notSaved = L"Picture Not Saved";
void tell(HWND owner, const wchar_t *title, const std::wstring &text);

// The Copy key in a frame: the focused field's selection, where it has one,
// else the frame's default copy, if it has anything to copy.
void copyKey(FrameNative &frame);

// Runs an event handler; a failure that escapes it is reported and the event
// loop goes on.
template <typename Call> void guarded(Call call) noexcept {
    try {
        call();
    } catch (...) {
        report(std::current_exception());
    }
}

[[noreturn]] void failWithLastError(const char *what);

} // namespace platform
