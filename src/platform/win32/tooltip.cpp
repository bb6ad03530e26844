#include "native.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

// The widest a tooltip grows before it wraps a line, in the form's pixels.
constexpr int tipWidth = 420;
// Between a tooltip's picture and its lines, in the form's pixels.
constexpr int pictureGap = 4;

// The component whose tip the control shows or is about to show.
Native *currentTool(HWND tips) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    if (!SendMessageW(tips, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&info)) ||
        !(info.uFlags & TTF_IDISHWND))
        return nullptr;
    return nativeOf(reinterpret_cast<HWND>(info.uId));
}

// Where the current tool's picture goes in the control's client area: where
// the control starts its lines, less the margin that makes room above them.
// The control tells where its text goes (TTM_ADJUSTRECT, which on some
// versions counts the margin in and on others not: the margin is far larger
// than the control's own padding, which tells them apart); where it does not
// (Wine), its text starts two pixels in.
POINT pictureCorner(HWND tips) {
    RECT margin{}, text{0, 0, 0, 0}, window;
    SendMessageW(tips, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    if (!SendMessageW(tips, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&text)))
        return {2, 2};
    // The text's corner from the window's, less the border.
    POINT client{0, 0};
    ClientToScreen(tips, &client);
    GetWindowRect(tips, &window);
    POINT corner{-text.left - (client.x - window.left), -text.top - (client.y - window.top)};
    if (corner.y >= margin.top)
        corner.y -= margin.top;
    if (corner.x >= margin.left)
        corner.x -= margin.left;
    return corner;
}

// The frame's tooltip control draws the current tool's picture over itself
// once it has drawn its own ground and lines, and is at least as wide as the
// picture.
LRESULT CALLBACK tipProc(HWND tips, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR) {
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        const LRESULT result = DefSubclassProc(tips, message, wParam, lParam);
        if (Native *tool = currentTool(tips); tool && tool->picture) {
            const HDC dc = message == WM_PAINT ? GetDC(tips) : reinterpret_cast<HDC>(wParam);
            drawPicture(dc, pictureCorner(tips), *tool->picture, tool->dpi());
            if (message == WM_PAINT)
                ReleaseDC(tips, dc);
        }
        return result;
    }
    case WM_WINDOWPOSCHANGING: {
        auto &pos = *reinterpret_cast<WINDOWPOS *>(lParam);
        Native *tool = pos.flags & SWP_NOSIZE ? nullptr : currentTool(tips);
        if (!tool || !tool->picture)
            break;
        // As wide as the picture with the same room on its right as on its
        // left, border included.
        RECT window, client;
        GetWindowRect(tips, &window);
        GetClientRect(tips, &client);
        const int needed = scale(tool->picture->width, tool->dpi()) + 2 * pictureCorner(tips).x +
                           (window.right - window.left) - (client.right - client.left);
        if (pos.cx >= needed)
            break;
        pos.cx = needed;
        // Kept on the screen, as the control keeps the tip it sized.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!(pos.flags & SWP_NOMOVE) &&
            GetMonitorInfoW(MonitorFromPoint({pos.x, pos.y}, MONITOR_DEFAULTTONEAREST), &monitor) &&
            pos.x + pos.cx > monitor.rcWork.right)
            pos.x = std::max<int>(monitor.rcWork.left, monitor.rcWork.right - pos.cx);
        break;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(tips, tipProc, 0);
        break;
    }
    return DefSubclassProc(tips, message, wParam, lParam);
}

FrameNative *frameOf(Native &n) {
    return dynamic_cast<FrameNative *>(&n.root());
}

// The frame's tooltip control, made the first time it has a tip to show.
HWND tipsOf(FrameNative &frame) {
    if (frame.tips || !frame.hwnd)
        return frame.tips;
    static const bool loaded = [] {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    if (!loaded)
        return nullptr;
    frame.tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, frame.hwnd, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (frame.tips)
        SetWindowSubclass(frame.tips, tipProc, 0, 0);
    fitToolTips(frame);
    return frame.tips;
}

// The tool for a control: the control's own window, which the tooltip
// control watches for the pointer.
TTTOOLINFOW tool(Native &n) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE; // what every version of the control reads
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = n.topLevel ? n.hwnd : GetParent(n.hwnd);
    info.uId = reinterpret_cast<UINT_PTR>(n.hwnd);
    // Asked for each time it shows (answerToolTip), with the room for the
    // tool's picture.
    info.lpszText = LPSTR_TEXTCALLBACKW;
    return info;
}

} // namespace

void showToolTip(Native &n) {
    FrameNative *frame = frameOf(n);
    if (!n.hwnd || !frame)
        return;
    if (n.toolTip.empty()) {
        dropToolTip(n);
        return;
    }
    HWND tips = tipsOf(*frame);
    if (!tips)
        return;
    TTTOOLINFOW info = tool(n);
    if (n.tipAdded)
        SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    else
        n.tipAdded = SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void dropToolTip(Native &n) {
    FrameNative *frame = frameOf(n);
    if (!n.tipAdded || !frame || !frame->tips || !n.hwnd)
        return;
    TTTOOLINFOW info = tool(n);
    SendMessageW(frame->tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    n.tipAdded = false;
}

void fitToolTips(FrameNative &frame) {
    if (frame.tips)
        SendMessageW(frame.tips, TTM_SETMAXTIPWIDTH, 0, scale(tipWidth, frame.dpi()));
}

bool answerToolTip(NMHDR &notice) {
    if (notice.code != TTN_GETDISPINFOW)
        return false;
    auto &request = reinterpret_cast<NMTTDISPINFOW &>(notice);
    Native *n =
        request.uFlags & TTF_IDISHWND ? nativeOf(reinterpret_cast<HWND>(notice.idFrom)) : nullptr;
    if (!n)
        return false;
    request.hinst = nullptr;
    request.szText[0] = L'\0';
    request.lpszText = n->toolTip.data();
    // The lines start below the picture; the control is one for all the
    // frame's tools, so its margin follows the tool it is about to show.
    RECT margin{0, n->picture ? scale(n->picture->height + pictureGap, n->dpi()) : 0, 0, 0};
    SendMessageW(notice.hwndFrom, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    return true;
}

std::wstring windowsLines(std::string_view text) {
    std::wstring lines;
    for (wchar_t c : wide(text)) {
        if (c == L'\n' && (lines.empty() || lines.back() != L'\r'))
            lines += L'\r';
        lines += c;
    }
    return lines;
}

void Component::setToolTip(std::string_view text, const Picture *picture) {
    // The tooltip control breaks lines at "\r\n".
    std::wstring lines = windowsLines(text);
    std::optional<Picture> above;
    if (picture && !picture->empty() && !lines.empty())
        above = *picture;
    Native &n = *native_;
    if (lines == n.toolTip && above == n.picture)
        return;
    n.toolTip = std::move(lines);
    n.picture = std::move(above);
    showToolTip(n);
}

} // namespace platform
