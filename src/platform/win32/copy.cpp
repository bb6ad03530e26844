// "Copy" in a component's context menu: its text on the clipboard, as
// Unicode text with Windows' line ends.
#include "native.h"
#include "platform/picture.h"

#include <cstring>

namespace platform {

namespace {

constexpr UINT_PTR copyCommand = 1;

void putOnClipboard(HWND owner, const std::wstring &text) {
    // Another program may hold the clipboard for a moment.
    bool open = false;
    for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(owner) != FALSE); ++attempt)
        Sleep(20);
    if (!open)
        return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void *to = GlobalLock(memory)) {
            std::memcpy(to, text.c_str(), bytes);
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory))
                memory = nullptr; // the clipboard's now
        }
        if (memory)
            GlobalFree(memory);
    }
    CloseClipboard();
}

} // namespace

bool showCopyMenu(Native &container, LPARAM where) {
    POINT at{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    Native *target = &container;
    if (where == -1) {
        // From the keyboard: the container's own, at its corner.
        RECT r;
        GetWindowRect(container.hwnd, &r);
        at = {r.left, r.top};
    } else {
        // A right-click on a label reaches the container it sits in.
        POINT inside = at;
        ScreenToClient(container.hwnd, &inside);
        HWND child = ChildWindowFromPointEx(container.hwnd, inside, CWP_SKIPINVISIBLE);
        if (Native *n = child ? nativeOf(child) : nullptr; n && !n->copyText.empty())
            target = n;
    }
    if (target->copyText.empty())
        return false;
    const std::wstring text = target->copyText;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return true;
    AppendMenuW(menu, MF_STRING, copyCommand, L"&Copy");
    const auto chosen =
        static_cast<UINT_PTR>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                             at.x, at.y, 0, container.hwnd, nullptr));
    DestroyMenu(menu);
    if (chosen == copyCommand)
        putOnClipboard(container.hwnd, text);
    return true;
}

void Component::setCopyText(std::string_view text) {
    native().copyText = windowsLines(text);
}

// First stand-in: no picture to copy or save yet.
void Component::setImage(Image) {}

} // namespace platform
