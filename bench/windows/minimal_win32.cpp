// The least a Windows program does to show a window: one class, one
// top-level window at the calculator's place and size, one message loop.
// The start-up benchmark runs it beside quorvel.exe to see what the form
// costs; it is built the same way (MinGW-w64, static, a window program).
// With the argument "caption" the window shows one caption in the form's
// face, to tell what text itself costs.
#include <windows.h>

#include <cstring>

namespace {
LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

int main(int argc, char **argv) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"MinimalWindow";
    if (!RegisterClassW(&windowClass))
        return 1;
    const HWND window = CreateWindowExW(0, L"MinimalWindow", L"Minimal", WS_OVERLAPPEDWINDOW, 50,
                                        50, 208, 257, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    if (argc > 1 && std::strcmp(argv[1], "caption") == 0) {
        const HWND caption =
            CreateWindowExW(0, L"STATIC", L"Height of Firer", WS_CHILD | WS_VISIBLE | SS_RIGHT, 16,
                            10, 132, 14, window, nullptr, instance, nullptr);
        const HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
        SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
