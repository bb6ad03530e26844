// A picture as plain shapes, for a peer to draw with its own painter:
// rectangles, straight lines, polygons and short texts, each in its colours.
//
// Coordinates are the picture's own pixels, x to the right and y down from
// the top-left corner of its box, width by height; every shape lies inside
// the box. They are points of the plane, not pixel indices: a 1-pixel line
// along y = 10.5 covers exactly the row of pixels from 10 to 11. A peer draws
// the shapes in order, later over earlier, on the tooltip's own ground (the
// picture has no background of its own), scaled by the screen's factor: at
// twice the scale every coordinate and size is doubled and drawn at that
// resolution, never a small picture enlarged. Colours are flat, with no
// blending of their own; edges may be smoothed.
#pragma once

#include "controls.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct Point {
    float x, y;
    friend bool operator==(const Point &, const Point &) = default;
};

struct Shape {
    enum class Kind : std::uint8_t { Rectangle, Line, Polygon, Text };
    enum class Align : std::uint8_t { Left, Center, Right };
    static constexpr std::size_t maxPoints = 6;

    Kind kind = Kind::Rectangle;
    // Rectangles and polygons: filled with fill where filled is set.
    bool filled = false;
    Color fill{};
    // The colour of a line and of a text, and of the outline of a rectangle
    // or polygon where stroked is set: a rectangle's outline lies inside its
    // box, a polygon's on its edges, lineWidth pixels wide.
    bool stroked = false;
    Color ink{};
    float lineWidth = 1;
    // Rectangles and texts: the box.
    float x = 0, y = 0, width = 0, height = 0;
    // Lines: from the first point to the second, lineWidth wide, with flat
    // ends. Polygons: the corners in order, 3 or more.
    std::array<Point, maxPoints> points{};
    std::uint8_t count = 0;
    // Texts: one line in the dialog face, regular or bold, size pixels high
    // (the font's pixel size), in ink; centred in the box from top to bottom
    // and aligned in it from side to side. The box is as wide as the text may
    // need in that face. Only printable ASCII and the signs minus (U+2212),
    // times (U+00D7) and ellipsis (U+2026), in UTF-8; blanks are kept as
    // they are, two in a row included.
    std::string text;
    float size = 0;
    Align align = Align::Center;
    bool bold = false;

    friend bool operator==(const Shape &, const Shape &) = default;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<Shape> shapes;

    bool empty() const { return shapes.empty(); }
    friend bool operator==(const Picture &, const Picture &) = default;
};

// A picture to hand out as an image file, made only when it is asked for:
// copied as an image, saved as PNG or SVG, shared from a phone. An image has
// a ground of its own (its first shape covers the box). A raster image is
// drawn at twice the picture's pixels at least, or at the screen's scale
// where that is more, so that it stays sharp when it is shown larger.
struct Image {
    std::function<Picture()> make;
    // The file's name without its extension, "sighting 2,3,1,4,0": no
    // character that a file name may not hold on Windows, Linux or a phone.
    std::string name;

    bool empty() const { return !make; }
};

// The least scale of a raster image.
inline constexpr int imageScale = 2;

// The scale a raster image is drawn at on a screen of the given scale (its
// device pixels to a picture's pixel): twice the picture's pixels, or the
// screen's scale rounded up to a whole number, so that every edge falls on
// whole pixels, where that is more; eight times at most. The same on every
// platform.
inline int rasterScale(double screenScale) {
    if (!(screenScale > imageScale)) // not-a-number too
        return imageScale;
    if (screenScale >= 8)
        return 8;
    // A scale a hair over a whole number is that number.
    return static_cast<int>(std::ceil(screenScale - 1.0 / 1024));
}

} // namespace platform
