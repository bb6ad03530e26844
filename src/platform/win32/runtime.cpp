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
        // In a frame, the Copy key goes to the frame as a command; Tab, the
        // arrows and Enter move between and press the controls as in any
        // Windows dialog.
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        const Native *n = top ? nativeOf(top) : nullptr;
        const auto *frame = n && n->topLevel ? static_cast<const FrameNative *>(n) : nullptr;
        if (frame && frame->keys && TranslateAcceleratorW(top, frame->keys, &msg))
            continue;
        if (frame && IsDialogMessageW(top, &msg))
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
