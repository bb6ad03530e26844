#include "image.h"

#include "side_view.h"
#include "working.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace los {

namespace {

using platform::Shape;

constexpr Color ground{255, 255, 255}, edge{170, 170, 170}, ink{32, 32, 32}, caption{88, 88, 88},
    linkInk{24, 72, 150};

// The caption's layout, in the picture's pixels, under the side view.
constexpr float margin = 6, bandHeight = 22, bandSize = 11, row = 14, textSize = 10, linkRow = 12,
                linkSize = 9;
// A link longer than this many lines is left out: the copied text has it.
constexpr int linkLines = 6;

// How wide each printable ASCII character is in the dialog face, the wider
// of its regular and bold styles, in hundredths of the size.
constexpr unsigned char advance[95] = {
    28, 34, 48, 56, 56, 89, 73, 24, 34,  34, 39, 59, 28, 34, 28, 28, 56, 56, 56, 56, 56, 56, 56, 56,
    56, 56, 34, 34, 59, 59, 59, 62, 102, 73, 73, 73, 73, 67, 62, 78, 73, 28, 56, 73, 62, 84, 73, 78,
    67, 78, 73, 67, 62, 73, 67, 95, 67,  67, 62, 34, 28, 34, 59, 56, 34, 56, 62, 56, 62, 56, 34, 62,
    62, 28, 28, 56, 28, 89, 62, 62, 62,  62, 39, 56, 34, 62, 56, 78, 56, 56, 50, 39, 28, 39, 59};

// A character's width in hundredths of the size: the signs beyond ASCII are
// as wide as the ellipsis, the widest of them.
int hundredths(std::string_view text, std::size_t &i) {
    const auto c = static_cast<unsigned char>(text[i++]);
    if (c >= 32 && c < 127)
        return advance[c - 32];
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
        ++i;
    return 100;
}

// A text's box width from its characters' hundredths: a little more than the
// dialog face needs, for a viewer that draws an SVG in a face of its own.
float boxWidth(int hundredths, float size) {
    return static_cast<float>(hundredths) / 100 * size * 1.06f + 2;
}

float widthOf(std::string_view text, float size) {
    int total = 0;
    for (std::size_t i = 0; i < text.size();)
        total += hundredths(text, i);
    return boxWidth(total, size);
}

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
        Shape &s = p_.shapes.emplace_back();
        s.kind = Shape::Kind::Text;
        s.ink = colour;
        s.x = x, s.y = y, s.width = w, s.height = h;
        s.text = std::move(t);
        s.size = size;
        s.align = align;
        return s;
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
            used += hundredths(link, i);
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

// A value as the working quotes it, in ASCII for a file's name.
std::string ascii(std::string_view typed, float value) {
    std::string out;
    const std::string q = quoted(typed, value);
    for (std::size_t i = 0; i < q.size(); ++i) {
        if (q.compare(i, 3, "\u2212") == 0) {
            out += '-';
            i += 2;
        } else if (q.compare(i, 3, "\u2026") == 0) {
            out += "...";
            i += 2;
        } else {
            out += q[i];
        }
    }
    return out;
}

} // namespace

platform::Picture image(const Decision &d, std::string_view link) {
    platform::Picture p{viewWidth, viewHeight, {}};
    p.shapes.reserve(80);
    {
        // The ground, framed; its height once the caption is laid out.
        Shape &frame = p.shapes.emplace_back();
        frame.filled = frame.stroked = true;
        frame.fill = ground;
        frame.ink = edge;
    }
    platform::Picture view = sideView(d);
    p.shapes.insert(p.shapes.end(), view.shapes.begin(), view.shapes.end());

    Caption c(p, static_cast<float>(viewHeight) + 2);
    c.band(d);
    const Sighting &s = d.sighting;
    const std::pair<const char *, float> values[] = {{"Height of Firer", s.hf},
                                                     {"Range of Firer to Obstacle", s.ro},
                                                     {"Height of Obstacle", s.ho},
                                                     {"Range of Obstacle to Target", s.rt},
                                                     {"Height of Target", s.ht}};
    for (std::size_t i = 0; i < 5; ++i)
        c.value(values[i].first, quoted(s.typed[i], values[i].second));
    c.value("Obstacle is a non-Cliff Crest Line", s.crest ? "yes" : "no");
    if (!link.empty())
        c.link(link);

    p.height = static_cast<int>(std::ceil(c.bottom() + margin - 2));
    p.shapes.front().width = static_cast<float>(p.width);
    p.shapes.front().height = static_cast<float>(p.height);
    return p;
}

std::string imageName(const Sighting &s) {
    std::string name = "sighting ";
    const float values[] = {s.hf, s.ro, s.ho, s.rt, s.ht};
    for (std::size_t i = 0; i < 5; ++i) {
        if (i > 0)
            name += ',';
        name += ascii(s.typed[i], values[i]);
    }
    if (s.crest)
        name += ",crest";
    return name;
}

} // namespace los
