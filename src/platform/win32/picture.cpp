// A picture's shapes drawn with GDI at the window's dots per inch: each
// coordinate scaled and then rounded to a device pixel, so that at twice the
// scale the picture is drawn anew at twice the size. Fills are exact, with no
// blending.
#include "native.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

COLORREF colour(Color c) {
    return RGB(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255));
}

// A picture's length or coordinate in device pixels.
class Scale {
public:
    Scale(POINT corner, UINT dpi)
        : corner_(corner), factor_(double(dpi) / USER_DEFAULT_SCREEN_DPI) {}

    int length(float v) const {
        const double d = double(v) * factor_;
        return std::isfinite(d) ? int(std::lround(std::clamp(d, -1e6, 1e6))) : 0;
    }
    POINT point(float x, float y) const { return {corner_.x + length(x), corner_.y + length(y)}; }
    RECT box(float x, float y, float width, float height) const {
        const POINT from = point(x, y), to = point(x + width, y + height);
        return {from.x, from.y, to.x, to.y};
    }
    // A line's width in device pixels: at least one.
    int width(float lineWidth) const { return std::max(1, length(lineWidth)); }

private:
    POINT corner_;
    double factor_;
};

void fill(HDC dc, RECT r, COLORREF c) {
    SetDCBrushColor(dc, c);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

HPEN pen(COLORREF c, int width) {
    const LOGBRUSH brush{BS_SOLID, c, 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                        static_cast<DWORD>(width), &brush, 0, nullptr);
}

void rectangle(HDC dc, const Shape &s, const Scale &at) {
    const RECT r = at.box(s.x, s.y, s.width, s.height);
    if (s.filled)
        fill(dc, r, colour(s.fill));
    if (!s.stroked)
        return;
    // The outline lies inside the box.
    const int w = at.width(s.lineWidth);
    const COLORREF ink = colour(s.ink);
    fill(dc, {r.left, r.top, r.right, std::min(r.top + w, r.bottom)}, ink);
    fill(dc, {r.left, std::max(r.bottom - w, r.top), r.right, r.bottom}, ink);
    fill(dc, {r.left, r.top, std::min(r.left + w, r.right), r.bottom}, ink);
    fill(dc, {std::max(r.right - w, r.left), r.top, r.right, r.bottom}, ink);
}

void line(HDC dc, const Shape &s, const Scale &at) {
    const Point a = s.points[0], b = s.points[1];
    const float half = s.lineWidth / 2;
    // Level and upright lines are exact boxes; others a wide pen's stroke.
    if (a.y == b.y || a.x == b.x) {
        const float left = std::min(a.x, b.x), top = std::min(a.y, b.y);
        const RECT r = a.y == b.y ? at.box(left, a.y - half, std::abs(b.x - a.x), s.lineWidth)
                                  : at.box(a.x - half, top, s.lineWidth, std::abs(b.y - a.y));
        fill(dc, {r.left, r.top, std::max(r.right, r.left + 1), std::max(r.bottom, r.top + 1)},
             colour(s.ink));
        return;
    }
    const HPEN stroke = pen(colour(s.ink), at.width(s.lineWidth));
    const HGDIOBJ old = SelectObject(dc, stroke);
    const POINT from = at.point(a.x, a.y), to = at.point(b.x, b.y);
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
    SelectObject(dc, old);
    DeleteObject(stroke);
}

void polygon(HDC dc, const Shape &s, const Scale &at) {
    POINT corners[Shape::maxPoints];
    const int n = std::min<int>(s.count, Shape::maxPoints);
    if (n < 3)
        return;
    for (int i = 0; i < n; ++i)
        corners[i] = at.point(s.points[static_cast<std::size_t>(i)].x,
                              s.points[static_cast<std::size_t>(i)].y);
    const HPEN stroke = s.stroked ? pen(colour(s.ink), at.width(s.lineWidth)) : nullptr;
    SetDCBrushColor(dc, colour(s.fill));
    const HGDIOBJ oldPen = SelectObject(dc, stroke ? stroke : GetStockObject(NULL_PEN));
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(s.filled ? DC_BRUSH : NULL_BRUSH));
    Polygon(dc, corners, n);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    if (stroke)
        DeleteObject(stroke);
}

void text(HDC dc, const Shape &s, const Scale &at, BYTE quality) {
    RECT r = at.box(s.x, s.y, s.width, s.height);
    // The dialog face in device pixels, as the form's own fonts are made.
    const Font face{"Dialog", s.bold ? Font::Bold : Font::Plain,
                    std::clamp(at.length(s.size), 1, 1000)};
    const HGDIOBJ old = SelectObject(dc, fontHandle(face, USER_DEFAULT_SCREEN_DPI, quality));
    SetTextColor(dc, colour(s.ink));
    const UINT align = s.align == Shape::Align::Left    ? DT_LEFT
                       : s.align == Shape::Align::Right ? DT_RIGHT
                                                        : DT_CENTER;
    const std::wstring w = wide(s.text);
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r,
              align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(dc, old);
}

} // namespace

void drawPicture(HDC dc, POINT corner, const Picture &picture, UINT dpi, BYTE quality) {
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    const Scale at(corner, dpi);
    for (const Shape &s : picture.shapes) {
        switch (s.kind) {
        case Shape::Kind::Rectangle:
            rectangle(dc, s, at);
            break;
        case Shape::Kind::Line:
            line(dc, s, at);
            break;
        case Shape::Kind::Polygon:
            polygon(dc, s, at);
            break;
        case Shape::Kind::Text:
            text(dc, s, at, quality);
            break;
        }
    }
    RestoreDC(dc, saved);
}

} // namespace platform
