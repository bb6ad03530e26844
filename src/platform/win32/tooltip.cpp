#include "native.h"

#include <commctrl.h>

namespace platform {

namespace {

// The widest a tooltip grows before it wraps a line, in the form's pixels.
constexpr int tipWidth = 420;

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
    info.lpszText = n.toolTip.data();
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

void Component::setToolTip(std::string_view text, const Picture *) {
    // The tooltip control breaks lines at "\r\n".
    std::wstring lines;
    for (wchar_t c : wide(text)) {
        if (c == L'\n' && (lines.empty() || lines.back() != L'\r'))
            lines += L'\r';
        lines += c;
    }
    Native &n = *native_;
    if (lines == n.toolTip)
        return;
    n.toolTip = std::move(lines);
    showToolTip(n);
}

void Component::setCopyText(std::string_view) {}

} // namespace platform
