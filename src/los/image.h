// The image of a sighting, to copy, save and share where players argue a
// sighting out: the side view at the top, as the tooltip shows it, and under
// it a caption that reads without the form beside it, the verdict on a band
// of its colour, the five values as typed with their names and the crest
// line, and on a page the link that opens the sighting.
#pragma once

#include "line_of_sight.h"

#include <string>
#include <string_view>

namespace los {

// The image, as wide as the side view; link: empty where there is none.
platform::Picture image(const Decision &d, std::string_view link = {});

// Its file's name, without an extension: "sighting 2,3,1,4,0", or
// "sighting 3,9,0,2,0,crest" with the box ticked; each value as the working
// quotes it, in ASCII.
std::string imageName(const Sighting &s);

} // namespace los
