#include "native.h"

namespace platform {

// Drawn here: a Windows static control would wrap a long line at its blanks
// rather than keep it on one line, aligned.
Label::Label() : Component(Native::make(L"STATIC", SS_OWNERDRAW)) {}

void Label::setText(std::string_view text) {
    Native &n = native();
    n.setText(wide(text));
    if (!n.hwnd)
        return;
    InvalidateRect(n.hwnd, nullptr, FALSE);
    if (n.live)
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, n.hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void Label::setAlignment(Alignment alignment) {
    Native &n = native();
    n.alignment = alignment;
    if (n.hwnd)
        InvalidateRect(n.hwnd, nullptr, FALSE);
}

void Label::setLive() {
    native().live = true;
    annotate(native());
}

void drawLabel(Native &label, const DRAWITEMSTRUCT &item) {
    const HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, label.effectiveBrush());
    const std::wstring text = label.windowText();
    const HGDIOBJ old = SelectObject(dc, fontHandle(label.effectiveFont(), label.dpi()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const UINT align = label.alignment == Label::Right    ? DT_RIGHT
                       : label.alignment == Label::Center ? DT_CENTER
                                                          : DT_LEFT;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

} // namespace platform
