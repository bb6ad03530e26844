#include "native.h"

#include <algorithm>
#include <optional>

namespace platform {

namespace {
std::optional<int> exitStatus;
bool delivering = false;
} // namespace

int runMain(int argc, char **argv, Entry entry) {
    try {
        entry(std::span<char *const>(argv, static_cast<std::size_t>(std::max(argc, 0))));
    } catch (...) {
        report(std::current_exception());
        return 1;
    }
    if (exitStatus)
        return *exitStatus;
    delivering = true;
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // In a window of ours, the keys of its menu go to it as commands;
        // Tab, the arrows, Enter and Escape move between and press the
        // controls as in any Windows dialog.
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        const Native *n = top ? nativeOf(top) : nullptr;
        const auto *window = n && n->topLevel ? static_cast<const WindowNative *>(n) : nullptr;
        if (window && window->keys && TranslateAcceleratorW(top, window->keys, &msg))
            continue;
        if (window && IsDialogMessageW(top, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    delivering = false;
    return exitStatus.value_or(static_cast<int>(msg.wParam));
}

void exit(int status) {
    exitStatus = status;
    if (delivering)
        PostQuitMessage(status);
}

// A desktop program has no address.
std::string linkTo(std::string_view) {
    return {};
}

void onFragment(std::function<void(std::string_view)>) {}

} // namespace platform
