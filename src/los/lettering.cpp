#include "lettering.h"

#include <utility>

namespace los::lettering {

namespace {

// How wide each printable ASCII character is in the dialog face, the wider
// of its regular and bold styles, in hundredths of the size.
constexpr unsigned char advance[95] = {
    28, 34, 48, 56, 56, 89, 73, 24, 34,  34, 39, 59, 28, 34, 28, 28, 56, 56, 56, 56, 56, 56, 56, 56,
    56, 56, 34, 34, 59, 59, 59, 62, 102, 73, 73, 73, 73, 67, 62, 78, 73, 28, 56, 73, 62, 84, 73, 78,
    67, 78, 73, 67, 62, 73, 67, 95, 67,  67, 62, 34, 28, 34, 59, 56, 34, 56, 62, 56, 62, 56, 34, 62,
    62, 28, 28, 56, 28, 89, 62, 62, 62,  62, 39, 56, 34, 62, 56, 78, 56, 56, 50, 39, 28, 39, 59};

} // namespace

int advancePast(std::string_view text, std::size_t &i) {
    const auto c = static_cast<unsigned char>(text[i++]);
    if (c >= 32 && c < 127)
        return advance[c - 32];
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
        ++i;
    return 100;
}

float boxWidth(int hundredths, float size) {
    return static_cast<float>(hundredths) / 100 * size * 1.06f + 2;
}

float widthOf(std::string_view text, float size) {
    int total = 0;
    for (std::size_t i = 0; i < text.size();)
        total += advancePast(text, i);
    return boxWidth(total, size);
}

void addGround(platform::Picture &picture) {
    platform::Shape &frame = picture.shapes.emplace_back();
    frame.filled = frame.stroked = true;
    frame.fill = ground;
    frame.ink = edge;
}

void sizeGround(platform::Picture &picture) {
    picture.shapes.front().width = static_cast<float>(picture.width);
    picture.shapes.front().height = static_cast<float>(picture.height);
}

platform::Shape &addText(platform::Picture &picture, float x, float y, float width, float height,
                         std::string text, float size, platform::Shape::Align align,
                         platform::Color colour) {
    platform::Shape &s = picture.shapes.emplace_back();
    s.kind = platform::Shape::Kind::Text;
    s.ink = colour;
    s.x = x, s.y = y, s.width = width, s.height = height;
    s.text = std::move(text);
    s.size = size;
    s.align = align;
    return s;
}

} // namespace los::lettering
