#include "native.h"

namespace platform {

namespace {

// Sent to itself by a frame that has shown for the first time.
constexpr UINT annotateMessage = WM_APP;

FrameNative &frameOf(Component &frame) {
    return static_cast<FrameNative &>(frame.native());
}

// The children of a frame are placed in its outer coordinates: they move
// whenever the title bar and borders change size.
void layout(FrameNative &f, bool always = false) {
    if (IsIconic(f.hwnd))
        return;
    RECT outer;
    POINT inner{0, 0};
    GetWindowRect(f.hwnd, &outer);
    ClientToScreen(f.hwnd, &inner);
    const POINT insets{inner.x - outer.left, inner.y - outer.top};
    if (!always && insets.x == f.insets.x && insets.y == f.insets.y)
        return;
    f.insets = insets;
    for (Native *child : f.children)
        child->place();
}

void notify(FrameNative &f, void (WindowListener::*handler)(const WindowEvent &)) {
    const WindowEvent e{static_cast<Frame *>(f.component)};
    // By index: a listener may add another.
    for (std::size_t i = 0; i < f.listeners.size(); ++i)
        guarded([&] { (f.listeners[i].get()->*handler)(e); });
}

bool frameMessage(FrameNative &f, UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
    switch (message) {
    case WM_CLOSE: // the window stays unless a listener acts
        notify(f, &WindowListener::windowClosing);
        return true;
    case WM_SHOWWINDOW:
        if (wParam && !f.opened) {
            f.opened = true;
            PostMessageW(f.hwnd, annotateMessage, 0, 0);
            notify(f, &WindowListener::windowOpened);
        }
        return false;
    case annotateMessage:
        annotateAll(f);
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(f.hwnd, focus))
                f.lastFocus = focus;
            notify(f, &WindowListener::windowDeactivated);
        } else {
            notify(f, &WindowListener::windowActivated);
        }
        return false;
    case WM_SETFOCUS: {
        // Back to the control that had the focus, else to the first one.
        HWND target = f.lastFocus && IsChild(f.hwnd, f.lastFocus)
                          ? f.lastFocus
                          : GetNextDlgTabItem(f.hwnd, nullptr, FALSE);
        if (target)
            SetFocus(target);
        return true;
    }
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            if (!f.iconified)
                notify(f, &WindowListener::windowIconified);
            f.iconified = true;
        } else {
            if (f.iconified)
                notify(f, &WindowListener::windowDeiconified);
            f.iconified = false;
            layout(f);
        }
        return false;
    case WM_DPICHANGED: {
        const RECT &r = *reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(f.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layout(f, true);
        f.applyFont(true);
        fitToolTips(f);
        return true;
    }
    case WM_COMMAND: {
        // A key from the accelerator table: the Copy key, or the default
        // copy's menu.
        if (HIWORD(wParam) != 1 || lParam)
            return false;
        const WORD command = LOWORD(wParam);
        guarded([&f, command] {
            if (command == copyCommand)
                copyKey(f);
            else if (f.defaultCopy)
                Offers(*f.defaultCopy).run(command, f.hwnd);
        });
        return true;
    }
    case DM_GETDEFID: {
        // Enter presses the focused push button, else the default one.
        Native *focus = nativeOf(GetFocus());
        Native *target =
            focus && dynamic_cast<Button *>(focus->component) ? focus : f.defaultButton;
        if (!target || !target->hwnd)
            return false;
        result = MAKELRESULT(GetDlgCtrlID(target->hwnd), DC_HASDEFID);
        return true;
    }
    }
    return false;
}

LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        attach(*static_cast<Native *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams),
               hwnd);
    LRESULT result = 0;
    if (Native *native = nativeOf(hwnd)) {
        if (native->topLevel &&
            frameMessage(static_cast<FrameNative &>(*native), message, wParam, lParam, result))
            return result;
        if (containerMessage(*native, message, wParam, lParam, result))
            return result;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

const wchar_t *registerClass(const wchar_t *name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc))
        failWithLastError("Quorvel cannot register its window class");
    return name;
}

const wchar_t *containerClass() {
    static const wchar_t *const name = registerClass(L"Quorvel.Container", containerProc);
    return name;
}

Frame::Frame() : Container(std::make_unique<FrameNative>()) {
    Native &n = native();
    if (!CreateWindowExW(0, n.windowClass, L"", n.style, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr),
                         &n)) {
        n.hwnd = nullptr;
        failWithLastError("Quorvel cannot open its window");
    }
    layout(frameOf(*this), true);
}

Frame::~Frame() {
    // Nothing is told of the window going down with the program.
    frameOf(*this).listeners.clear();
}

void Frame::setTitle(std::string_view title) {
    native().setText(wide(title));
}

void Frame::setSize(int width, int height) {
    Native &n = native();
    n.width = std::max(width, 0);
    n.height = std::max(height, 0);
    SetWindowPos(n.hwnd, nullptr, 0, 0, scale(n.width, n.dpi()), scale(n.height, n.dpi()),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Frame::setLocation(int x, int y) {
    Native &n = native();
    n.x = x;
    n.y = y;
    SetWindowPos(n.hwnd, nullptr, scale(x, n.dpi()), scale(y, n.dpi()), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Frame::setVisible(bool visible) {
    FrameNative &f = frameOf(*this);
    if (visible == (IsWindowVisible(f.hwnd) != FALSE))
        return;
    // The first showing follows how the program was started (a shortcut may
    // ask for it minimised).
    ShowWindow(f.hwnd, !visible ? SW_HIDE : f.opened ? SW_SHOW : SW_SHOWDEFAULT);
    if (visible)
        UpdateWindow(f.hwnd); // painted before anything else is done
}

void Frame::addWindowListener(std::unique_ptr<WindowListener> listener) {
    if (listener)
        frameOf(*this).listeners.push_back(std::move(listener));
}

void Frame::setDefaultButton(Button &button) {
    frameOf(*this).defaultButton = &button.native();
}

void Frame::setDefaultCopy(Component &component) {
    FrameNative &f = frameOf(*this);
    f.defaultCopy = &component.native();
    if (!f.keys)
        f.keys = menuKeys();
}

} // namespace platform
