// What every picture must keep to, for the tests and the fuzzer: every shape
// inside the picture's box, and no number over another.
#pragma once

#include "platform/picture.h"

#include <algorithm>
#include <cstddef>

namespace picture_checks {

// The box a shape covers, a line's width included.
inline void bounds(const platform::Shape &s, float &x0, float &y0, float &x1, float &y1) {
    using Kind = platform::Shape::Kind;
    if (s.kind == Kind::Rectangle || s.kind == Kind::Text) {
        x0 = s.x, y0 = s.y, x1 = s.x + s.width, y1 = s.y + s.height;
        return;
    }
    x0 = y0 = 1e30f, x1 = y1 = -1e30f;
    const float pad = s.kind == Kind::Line || s.stroked ? s.lineWidth / 2 : 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(s.count, s.maxPoints); ++i) {
        x0 = std::min(x0, s.points[i].x - pad), x1 = std::max(x1, s.points[i].x + pad);
        y0 = std::min(y0, s.points[i].y - pad), y1 = std::max(y1, s.points[i].y + pad);
    }
}

// Empty where the picture keeps to its box and its numbers stand apart;
// otherwise what is wrong.
inline const char *fault(const platform::Picture &p) {
    using Kind = platform::Shape::Kind;
    for (const platform::Shape &s : p.shapes) {
        if ((s.kind == Kind::Line && s.count != 2) ||
            (s.kind == Kind::Polygon && (s.count < 3 || s.count > s.maxPoints)))
            return "a line or polygon with the wrong number of points";
        float x0, y0, x1, y1;
        bounds(s, x0, y0, x1, y1);
        if (!(x0 >= 0 && y0 >= 0 && x1 <= static_cast<float>(p.width) &&
              y1 <= static_cast<float>(p.height) && x0 <= x1 && y0 <= y1))
            return "a shape outside the picture's box";
    }
    for (std::size_t i = 0; i < p.shapes.size(); ++i)
        for (std::size_t j = i + 1; j < p.shapes.size(); ++j) {
            const platform::Shape &a = p.shapes[i], &b = p.shapes[j];
            if (a.kind == Kind::Text && b.kind == Kind::Text && a.x < b.x + b.width &&
                b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height)
                return "a number over another";
        }
    return nullptr;
}

} // namespace picture_checks
