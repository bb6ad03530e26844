#include "image.h"

#include "lettering.h"
#include "side_view.h"
#include "working.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace los {

namespace {

using platform::Shape;
using namespace lettering;

constexpr Color linkInk{24, 72, 150};

// The caption's layout, in the picture's pixels, under the side view.
constexpr float margin = 6, bandHeight = 22, bandSize = 11, row = 14, textSize = 10, linkRow = 12,
                linkSize = 9;
// A link longer than this many lines is left out: the copied text has it.
constexpr int linkLines = 6;

class Caption {
public:
    Caption(platform::Picture &picture, float top) : p_(picture), y_(top) {}

    void band(const Decision &d);
    void value(std::string_view name, std::string text);
    void link(std::string_view link);
    float bottom() const { return y_; }

private:
    Shape &text(float x, float y, float w, float h, std::string t, float size, Shape::Align align,
                Color colour) {
        return addText(p_, x, y, w, h, std::move(t), size, align, colour);
    }

    platform::Picture &p_;
    float y_;
};

// The verdict as the form shows it: bold, on a band of its colour.
void Caption::band(const Decision &d) {
    const float width = static_cast<float>(p_.width) - 2 * margin;
    Shape &b = p_.shapes.emplace_back();
    b.kind = Shape::Kind::Rectangle;
    b.filled = true;
    b.fill = verdictColor(d);
    b.x = margin, b.y = y_, b.width = width, b.height = bandHeight;
    text(margin, y_, width, bandHeight, verdictLine(d), bandSize, Shape::Align::Center, ink).bold =
        true;
    y_ += bandHeight + 4;
}

// A value with its name: on one row, or on a row of its own under the name
// where the two do not fit side by side.
void Caption::value(std::string_view name, std::string t) {
    const float right = static_cast<float>(p_.width) - margin;
    const float wn = widthOf(name, textSize), wv = widthOf(t, textSize);
    text(margin, y_, wn, row, std::string(name), textSize, Shape::Align::Left, caption);
    if (margin + wn + 8 > right - wv)
        y_ += row;
    text(std::max(right - wv, margin), y_, std::min(wv, right - margin), row, std::move(t),
         textSize, Shape::Align::Right, ink);
    y_ += row;
}

// The link in as many lines as it takes, broken where a line is full.
void Caption::link(std::string_view link) {
    const float width = static_cast<float>(p_.width) - 2 * margin;
    std::vector<std::string_view> lines;
    while (!link.empty()) {
        std::size_t end = 0;
        int used = 0;
        for (std::size_t i = 0; i < link.size();) {
            used += advancePast(link, i);
            if (end > 0 && boxWidth(used, linkSize) > width)
                break;
            end = i;
        }
        lines.push_back(link.substr(0, end));
        link.remove_prefix(end);
        if (lines.size() > linkLines)
            return;
    }
    y_ += 2;
    for (const std::string_view line : lines) {
        text(margin, y_, width, linkRow, std::string(line), linkSize, Shape::Align::Left, linkInk);
        y_ += linkRow;
    }
}

} // namespace

platform::Picture image(const Decision &d, std::string_view link) {
    platform::Picture p{viewWidth, viewHeight, {}};
    p.shapes.reserve(80);
    addGround(p); // its size once the rest is laid out
    platform::Picture view = sideView(d);
    p.shapes.insert(p.shapes.end(), view.shapes.begin(), view.shapes.end());

    Caption c(p, static_cast<float>(viewHeight) + 2);
    c.band(d);
    const Sighting &s = d.sighting;
    const auto values = s.values();
    for (std::size_t i = 0; i < field::count; ++i)
        c.value(field::captions[i], quoted(s.typed[i], values[i]));
    c.value(field::crest, s.crest ? "yes" : "no");
    if (!link.empty())
        c.link(link);

    p.height = static_cast<int>(std::ceil(c.bottom() + margin - 2));
    sizeGround(p);
    return p;
}

std::string imageName(const Sighting &s) {
    std::string name = "sighting ";
    const auto values = s.values();
    for (std::size_t i = 0; i < field::count; ++i) {
        if (i > 0)
            name += ',';
        name += quotedAscii(s.typed[i], values[i]);
    }
    if (s.crest)
        name += ",crest";
    return name;
}

} // namespace los
