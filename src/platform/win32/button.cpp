#include "native.h"

namespace platform {

// A push button whose face Windows would draw in the theme's colours: drawn
// here, flat, in the button's background.
Button::Button() : Component(Native::make(L"BUTTON", WS_TABSTOP | BS_OWNERDRAW)) {}

void Button::setLabel(std::string_view label) {
    native().setText(wide(label));
}

void drawButton(Native &button, const DRAWITEMSTRUCT &item) {
    const HDC dc = item.hDC;
    const UINT dpi = button.dpi();
    const auto shade = [](COLORREF c, int percent) {
        return RGB(GetRValue(c) * percent / 100, GetGValue(c) * percent / 100,
                   GetBValue(c) * percent / 100);
    };
    const COLORREF face = button.effectiveColor();
    const bool down = item.itemState & ODS_SELECTED;
    RECT r = item.rcItem;
    SetDCBrushColor(dc, down ? shade(face, 89) : face);
    const auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    FillRect(dc, &r, brush);
    // A thin edge, in the highlight colour while the button has the focus.
    SetDCBrushColor(dc,
                    item.itemState & ODS_FOCUS ? GetSysColor(COLOR_HIGHLIGHT) : shade(face, 62));
    for (int i = 0, edge = std::max(1, scale(1, dpi)); i < edge; ++i, InflateRect(&r, -1, -1))
        FrameRect(dc, &r, brush);

    const std::wstring label = button.windowText();
    const HGDIOBJ old = SelectObject(dc, fontHandle(button.effectiveFont(), dpi));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(item.itemState & ODS_DISABLED ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    r = item.rcItem;
    if (down)
        OffsetRect(&r, scale(1, dpi), scale(1, dpi));
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

} // namespace platform
