// A picture as an SVG document, written once here for every platform: the
// same picture gives the same bytes on Linux, on Windows and on a page.
#pragma once

#include "picture.h"

#include <string>

namespace platform {

// A self-contained SVG document of the picture at its own size in pixels:
// no script, no reference to another file or to the network. Texts are SVG
// text, in the dialog face or the closest the viewer has; every character of
// them is escaped as XML needs, and any that XML cannot hold (control
// characters, broken UTF-8) is written as U+FFFD. Blanks are kept as they
// are.
std::string svg(const Picture &picture);

} // namespace platform
