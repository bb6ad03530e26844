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

// How wide the control's lines come out: measured as it measures them, in
// its font, broken at its widest.
int linesWidth(HWND tips, const std::wstring &lines) {
    const HDC dc = GetDC(tips);
    if (!dc)
        return 0;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(tips, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    const auto widest = static_cast<int>(SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0));
    RECT r{0, 0, widest > 0 ? widest : 0, 0};
    DrawTextW(dc, lines.c_str(), static_cast<int>(lines.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_EXTERNALLEADING | (widest > 0 ? DT_WORDBREAK : 0));
    if (old)
        SelectObject(dc, old);
    ReleaseDC(tips, dc);
    return r.right - r.left;
}

// The room the control leaves for a tool's picture: a top margin as high as
// the picture and the gap below it, and where the lines are narrower than
// the picture, a right margin that makes up the difference, so that the
// picture has as much room on its right as on its left.
RECT pictureMargin(HWND tips, const Native &tool, UINT dpi) {
    if (!tool.picture)
        return {};
    const int wider = scale(tool.picture->width, dpi) - linesWidth(tips, tool.toolTip);
    return {0, scale(tool.picture->height + pictureGap, dpi), std::max(wider, 0), 0};
}

// Where the picture goes in the control's client area: in the top margin,
// from where the lines start. With its DC the control hands over the
// rectangle it draws in: Windows' is the one its lines go in, below the top
// margin; Wine's is the whole client area, with the lines 2 pixels inside it
// and below the margin. The margin is taller than any padding of the
// control's own, which tells the two apart.
POINT pictureCorner(HWND tips, const RECT &drawn) {
    RECT margin{}, client{};
    SendMessageW(tips, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    GetClientRect(tips, &client);
    if (drawn.top - client.top >= margin.top)
        return {drawn.left, drawn.top - margin.top};
    const int padding = EqualRect(&drawn, &client) ? 2 : 0;
    return {drawn.left + margin.left + padding, drawn.top + padding};
}

// Draws the current tool's picture once the control has drawn its ground
// and lines, on the DC it draws on, at the window's dots per inch. Before
// it shows, the control may also ask with DT_CALCRECT while it measures its
// lines: nothing is drawn then.
LRESULT customDraw(NMTTCUSTOMDRAW &draw) {
    Native *tool = currentTool(draw.nmcd.hdr.hwndFrom);
    if (!tool || !tool->picture)
        return CDRF_DODEFAULT;
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return draw.uDrawFlags & DT_CALCRECT ? CDRF_DODEFAULT : CDRF_NOTIFYPOSTPAINT;
    case CDDS_POSTPAINT:
        drawPicture(draw.nmcd.hdc, pictureCorner(draw.nmcd.hdr.hwndFrom, draw.nmcd.rc),
                    *tool->picture, tool->dpi());
        break;
    }
    return CDRF_DODEFAULT;
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

bool answerToolTip(Native &container, NMHDR &notice, LRESULT &result) {
    const auto *frame = dynamic_cast<FrameNative *>(&container.root());
    if (!frame || !frame->tips || notice.hwndFrom != frame->tips)
        return false;
    if (notice.code == NM_CUSTOMDRAW) {
        result = customDraw(reinterpret_cast<NMTTCUSTOMDRAW &>(notice));
        return true;
    }
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
    // The control is one for all the frame's tools, so its margins follow
    // the tool it is about to show.
    RECT margin = pictureMargin(notice.hwndFrom, *n, n->dpi());
    SendMessageW(notice.hwndFrom, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    result = 0;
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
