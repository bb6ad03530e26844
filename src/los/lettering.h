// Lettering for the images that leave the program (a sighting's, a table of
// levels'): their ground and inks, how wide a text comes out in the dialog
// face, and a text placed in a picture. Widths are from the face's own advances,
// a little on the wide side, so that a viewer that draws an SVG in a face of
// its own still finds room.
#pragma once

#include "platform/picture.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace los::lettering {

// The images' white ground in a grey frame, their dark ink and the grey of
// their captions.
inline constexpr platform::Color ground{255, 255, 255}, edge{170, 170, 170}, ink{32, 32, 32},
    caption{88, 88, 88};

// Starts an image with its framed ground, the first shape, which covers the
// picture's box once it is sized by sizeGround.
void addGround(platform::Picture &picture);
void sizeGround(platform::Picture &picture);

// The width of the character that starts at text[i], in hundredths of the
// size, the wider of its regular and bold styles; moves i on past it. The
// signs beyond ASCII count as wide as the ellipsis, the widest of them.
int advancePast(std::string_view text, std::size_t &i);

// The width of a text's box from its characters' hundredths, at a size.
float boxWidth(int hundredths, float size);
float widthOf(std::string_view text, float size);

// Adds a text in its box to the picture.
platform::Shape &addText(platform::Picture &picture, float x, float y, float width, float height,
                         std::string text, float size, platform::Shape::Align align,
                         platform::Color colour);

} // namespace los::lettering
