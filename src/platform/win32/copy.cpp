// The verdict's context menu, "Copy", "Copy Picture", "Save Picture…" and
// "Which Levels See…", their keys, and the clipboard they put things on: text
// as Unicode with Windows' line ends.
#include "native.h"
#include "platform/picture.h"

#include <algorithm>

namespace platform {

HACCEL menuKeys() {
    // An entry with Shift before the same key without.
    ACCEL keys[] = {{FCONTROL | FSHIFT | FVIRTKEY, 'C', copyPictureCommand},
                    {FCONTROL | FVIRTKEY, 'C', copyCommand},
                    {FCONTROL | FVIRTKEY, VK_INSERT, copyCommand},
                    {FCONTROL | FVIRTKEY, 'S', savePictureCommand},
                    {FCONTROL | FVIRTKEY, 'L', levelsCommand}};
    return CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

bool Offers::has(WORD command) const {
    switch (command) {
    case copyCommand:
        return !text.empty();
    case copyPictureCommand:
    case savePictureCommand:
        return !image.empty();
    case levelsCommand:
        return static_cast<bool>(levels);
    }
    return false;
}

void Offers::run(WORD command, HWND owner) const {
    if (!has(command))
        return;
    switch (command) {
    case copyCommand:
        copyText(owner, text);
        break;
    case copyPictureCommand:
        copyPicture(owner, image, dpi);
        break;
    case savePictureCommand:
        savePicture(owner, image, dpi);
        break;
    case levelsCommand:
        levels();
        break;
    }
}

HGLOBAL clipboardMemory(std::initializer_list<std::span<const std::byte>> parts) {
    std::size_t size = 0;
    for (auto part : parts)
        size += part.size();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    auto *to = memory ? static_cast<std::byte *>(GlobalLock(memory)) : nullptr;
    if (!to) {
        if (memory)
            GlobalFree(memory);
        return nullptr;
    }
    for (auto part : parts)
        to = std::copy(part.begin(), part.end(), to);
    GlobalUnlock(memory);
    return memory;
}

void tell(HWND owner, const wchar_t *title, const std::wstring &text) {
    MessageBoxW(owner, text.c_str(), title, MB_OK | MB_ICONWARNING);
}

void putOnClipboard(HWND owner, std::span<ClipboardData> data) {
    bool complete = true;
    for (const ClipboardData &d : data)
        complete = complete && d.memory;
    // Another program may hold the clipboard for a moment.
    bool open = false;
    for (int attempt = 0; complete && attempt < 10 && !(open = OpenClipboard(owner)); ++attempt)
        Sleep(20);
    // Emptied, the clipboard holds all of what was copied, or nothing.
    bool emptied = false, filled = true;
    if (open) {
        emptied = EmptyClipboard() != FALSE;
        for (ClipboardData &d : data)
            if (emptied && filled && SetClipboardData(d.format, d.memory))
                d.memory = nullptr; // the clipboard's now
            else
                filled = false;
        if (emptied && !filled)
            EmptyClipboard();
        CloseClipboard();
    }
    for (ClipboardData &d : data)
        if (d.memory)
            GlobalFree(d.memory);
    if (!complete)
        tell(owner, notCopied,
             L"There is not enough memory to copy this. The clipboard is as it was.");
    else if (!open)
        tell(owner, notCopied,
             L"Another program is using the clipboard, so nothing was copied. "
             L"Try again in a moment.");
    else if (!emptied)
        tell(owner, notCopied,
             L"Windows did not let the clipboard be emptied, so nothing was copied. "
             L"The clipboard is as it was.");
    else if (!filled)
        tell(owner, notCopied,
             L"Windows did not take what was copied, so nothing was copied. "
             L"The clipboard is now empty.");
}

void copyText(HWND owner, const std::wstring &text) {
    ClipboardData data[] = {
        {CF_UNICODETEXT,
         clipboardMemory({std::as_bytes(std::span(text.c_str(), text.size() + 1))})}};
    putOnClipboard(owner, data);
}

void copyKey(FrameNative &frame) {
    const HWND focus = GetFocus();
    if (const Native *n = focus && IsChild(frame.hwnd, focus) ? nativeOf(focus) : nullptr;
        n && dynamic_cast<TextField *>(n->component)) {
        DWORD from = 0, to = 0;
        SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        if (from != to) {
            SendMessageW(focus, WM_COPY, 0, 0);
            return;
        }
    }
    if (frame.defaultCopy && !frame.defaultCopy->copyText.empty())
        copyText(frame.hwnd, frame.defaultCopy->copyText);
}

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
        if (Native *n = child ? nativeOf(child) : nullptr; n && Offers(*n).any())
            target = n;
    }
    const Offers offers(*target);
    if (!offers.any())
        return false;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return true;
    // The keys are shown where they do what the items do.
    const auto *frame = dynamic_cast<const FrameNative *>(&container.root());
    const bool keys = frame && frame->defaultCopy == target;
    const struct {
        WORD command;
        const wchar_t *label, *key;
    } items[] = {{copyCommand, L"&Copy", L"\tCtrl+C"},
                 {copyPictureCommand, L"Copy &Picture", L"\tCtrl+Shift+C"},
                 {savePictureCommand, L"&Save Picture\u2026", L"\tCtrl+S"},
                 {levelsCommand, L"Which &Levels See\u2026", L"\tCtrl+L"}};
    for (const auto &item : items)
        if (offers.has(item.command))
            AppendMenuW(menu, MF_STRING, item.command,
                        (std::wstring(item.label) + (keys ? item.key : L"")).c_str());
    const auto chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                       at.y, 0, container.hwnd, nullptr);
    DestroyMenu(menu);
    offers.run(static_cast<WORD>(chosen), container.root().hwnd);
    return true;
}

void Component::setCopyText(std::string_view text) {
    native().copyText = windowsLines(text);
    native().offersChanged();
}

void Component::setImage(Image image) {
    native().image = std::move(image);
    native().offersChanged();
}

void Component::setLevelsAction(std::function<void()> action) {
    native().levels = std::move(action);
}

} // namespace platform
