#include "native.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <tuple>

namespace platform {

namespace {
constexpr wchar_t nativeProperty[] = L"Quorvel.Native";
// Control identifiers, clear of those the dialog keys send (IDOK, IDCANCEL).
WORD nextId = 100;

int length(std::size_t size) {
    if (size > INT_MAX)
        throw std::length_error("text too long for a window");
    return static_cast<int>(size);
}
} // namespace

std::wstring wide(std::string_view text) {
    const int n = length(text.size());
    std::wstring out(static_cast<std::size_t>(
                         n ? MultiByteToWideChar(CP_UTF8, 0, text.data(), n, nullptr, 0) : 0),
                     L'\0');
    if (!out.empty())
        MultiByteToWideChar(CP_UTF8, 0, text.data(), n, out.data(), length(out.size()));
    return out;
}

std::string narrow(std::wstring_view text) {
    const int n = length(text.size());
    std::string out(
        static_cast<std::size_t>(
            n ? WideCharToMultiByte(CP_UTF8, 0, text.data(), n, nullptr, 0, nullptr, nullptr) : 0),
        '\0');
    if (!out.empty())
        WideCharToMultiByte(CP_UTF8, 0, text.data(), n, out.data(), length(out.size()), nullptr,
                            nullptr);
    return out;
}

void failWithLastError(const char *what) {
    throw std::runtime_error(std::string(what) + " (Windows error " +
                             std::to_string(GetLastError()) + "): is a desktop session running?");
}

HFONT fontHandle(const Font &font, UINT dpi, BYTE quality) {
    static std::vector<std::tuple<Font, UINT, BYTE, HFONT>> made;
    for (const auto &[f, d, q, handle] : made)
        if (f == font && d == dpi && q == quality)
            return handle;
    LOGFONTW lf{};
    lf.lfHeight = -scale(font.size, dpi); // pixels, not points
    lf.lfWeight = font.style & Font::Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.style & Font::Italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    // The dialog face is the one the form was measured in.
    const std::wstring face = font.family == "Dialog" ? L"Arial" : wide(font.family);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    HFONT handle = CreateFontIndirectW(&lf);
    if (!handle)
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    made.emplace_back(font, dpi, quality, handle);
    return handle;
}

Native *nativeOf(HWND hwnd) {
    return static_cast<Native *>(GetPropW(hwnd, nativeProperty));
}

void attach(Native &native, HWND hwnd) {
    native.hwnd = hwnd;
    SetPropW(hwnd, nativeProperty, &native);
}

WindowNative::~WindowNative() {
    if (keys)
        DestroyAcceleratorTable(keys);
}

FrameNative::FrameNative() : WindowNative(containerClass(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN) {
    topLevel = true;
}

Native::~Native() {
    if (auto *frame = dynamic_cast<FrameNative *>(&root()); frame && frame != this) {
        if (frame->defaultButton == this)
            frame->defaultButton = nullptr;
        if (frame->defaultCopy == this)
            frame->defaultCopy = nullptr;
        if (hwnd && frame->lastFocus == hwnd)
            frame->lastFocus = nullptr;
    }
    if (parent)
        std::erase(parent->children, this);
    unrealize();
    for (Native *child : children)
        child->parent = nullptr;
    if (brush)
        DeleteObject(brush);
}

void Native::realize() {
    if (hwnd || !parent || !parent->hwnd)
        return;
    HWND made = CreateWindowExW(
        exStyle, windowClass, text.c_str(), style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent->hwnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nextId++)), GetModuleHandleW(nullptr), this);
    if (!made)
        failWithLastError("Quorvel cannot create its controls");
    attach(*this, made);
    text.clear();
    if (onCreate)
        onCreate(*this);
    place();
    applyFont();
    annotate(*this);
    showToolTip(*this);
    for (Native *child : children)
        child->realize();
}

void Native::unrealize() {
    if (!hwnd)
        return;
    for (Native *child : children)
        child->unrealize();
    text = windowText();
    if (dynamic_cast<Checkbox *>(component))
        checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    forget(*this);
    dropToolTip(*this);
    RemovePropW(hwnd, nativeProperty);
    DestroyWindow(hwnd);
    hwnd = nullptr;
}

void Native::place() {
    if (!hwnd || topLevel)
        return;
    const UINT d = dpi();
    int left = scale(x, d), top = scale(y, d);
    if (parent->topLevel) {
        // The frame's children are placed in its outer coordinates.
        const POINT insets = static_cast<FrameNative *>(parent)->insets;
        left -= insets.x;
        top -= insets.y;
    }
    SetWindowPos(hwnd, nullptr, left, top, scale(std::max(width, 0), d),
                 scale(std::max(height, 0), d), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Native::applyFont(bool every) {
    if (!hwnd)
        return;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle(effectiveFont(), dpi())),
                 TRUE);
    for (Native *child : children)
        if (every || !child->font)
            child->applyFont(every);
}

Native &Native::root() {
    Native *n = this;
    while (n->parent)
        n = n->parent;
    return *n;
}

UINT Native::dpi() {
    const Native &top = root();
    return top.topLevel && top.hwnd ? GetDpiForWindow(top.hwnd) : USER_DEFAULT_SCREEN_DPI;
}

COLORREF Native::effectiveColor() const {
    for (const Native *n = this; n; n = n->parent)
        if (n->background)
            return RGB(n->background->red, n->background->green, n->background->blue);
    return GetSysColor(COLOR_BTNFACE);
}

HBRUSH Native::effectiveBrush() const {
    for (const Native *n = this; n; n = n->parent)
        if (n->brush)
            return n->brush;
    return GetSysColorBrush(COLOR_BTNFACE);
}

const Font &Native::effectiveFont() const {
    static const Font standard{"Dialog", Font::Plain, 12};
    for (const Native *n = this; n; n = n->parent)
        if (n->font)
            return *n->font;
    return standard;
}

std::wstring Native::windowText() const {
    if (!hwnd)
        return text;
    std::wstring out(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    out.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, out.data(), length(out.size()))));
    return out;
}

void Native::setText(std::wstring newText) {
    if (hwnd)
        SetWindowTextW(hwnd, newText.c_str());
    else
        text = std::move(newText);
}

Component::Component(std::unique_ptr<Native> native) : native_(std::move(native)) {
    native_->component = this;
}

Component::~Component() = default;

void Component::setBackground(Color color) {
    for (int *c : {&color.red, &color.green, &color.blue})
        *c = std::clamp(*c, 0, 255);
    Native &n = *native_;
    if (n.background == color)
        return;
    n.background = color;
    if (n.brush)
        DeleteObject(n.brush);
    n.brush = CreateSolidBrush(RGB(color.red, color.green, color.blue));
    if (n.hwnd)
        RedrawWindow(n.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Component::setFont(const Font &font) {
    native_->font = font;
    native_->applyFont();
}

void Component::setBounds(int x, int y, int width, int height) {
    Native &n = *native_;
    std::tie(n.x, n.y, n.width, n.height) = std::tie(x, y, width, height);
    n.place();
}

void Component::requestFocus() {
    Native &n = *native_;
    auto *frame = dynamic_cast<FrameNative *>(&n.root());
    if (!frame || !n.hwnd || &n == frame)
        return;
    // An inactive window gives the focus to this control once it is active again.
    frame->lastFocus = n.hwnd;
    if (GetActiveWindow() == frame->hwnd)
        SetFocus(n.hwnd);
}

void Container::add(Component &child) {
    Native &p = native(), &c = child.native();
    if (c.topLevel)
        throw std::invalid_argument("a window cannot be put inside another");
    for (const Native *n = &p; n; n = n->parent)
        if (n == &c)
            throw std::invalid_argument("a container cannot be put inside itself");
    if (c.parent) {
        c.unrealize();
        std::erase(c.parent->children, &c);
    }
    c.parent = &p;
    p.children.push_back(&c);
    c.realize();
}

bool containerMessage(Native &container, UINT message, WPARAM wParam, LPARAM lParam,
                      LRESULT &result) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(container.hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, container.effectiveBrush());
        result = 1;
        return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const Native *control = nativeOf(reinterpret_cast<HWND>(lParam));
        if (!control)
            return false;
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, control->effectiveColor());
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        result = reinterpret_cast<LRESULT>(control->effectiveBrush());
        return true;
    }
    case WM_DRAWITEM: {
        const auto &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        Native *control = nativeOf(item.hwndItem);
        if (!control)
            return false;
        if (item.CtlType == ODT_BUTTON)
            drawButton(*control, item);
        else
            drawLabel(*control, item);
        result = TRUE;
        return true;
    }
    case WM_NOTIFY:
        return answerToolTip(container, *reinterpret_cast<NMHDR *>(lParam), result);
    case WM_CONTEXTMENU:
        if (!showCopyMenu(container, lParam))
            return false;
        result = 0;
        return true;
    case WM_COMMAND: {
        const Native *control = nativeOf(reinterpret_cast<HWND>(lParam));
        auto *button = control ? dynamic_cast<Button *>(control->component) : nullptr;
        // A double click is two presses.
        if (!button || (HIWORD(wParam) != BN_CLICKED && HIWORD(wParam) != BN_DOUBLECLICKED))
            return false;
        guarded([button] { button->press(); });
        result = 0;
        return true;
    }
    }
    return false;
}

} // namespace platform
