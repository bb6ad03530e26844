// A sighting in a link's fragment, so that a verdict pasted into a chat opens
// the same sighting for whoever follows it: the five texts top to bottom,
// separated by commas, then "crest" where the box is ticked, as in
// "2,3,1,4,0" or "3,9,0,2,0,crest". Each text is written as typed, every
// character but letters, digits and "-._~" percent-encoded (a comma too).
#pragma once

#include "line_of_sight.h"

#include <optional>
#include <string>
#include <string_view>

namespace los {

// What a link opens: a sighting, and with ",levels" after it, as in
// "3,9,0,2,0,crest,levels", the table of which levels see it too.
struct Link {
    Typed typed;
    bool levels = false;
    friend bool operator==(const Link &, const Link &) = default;
};

std::string fragment(const Typed &typed, bool levels = false);
// What a fragment of that form opens; nothing for any other.
std::optional<Link> parseFragment(std::string_view fragment);

} // namespace los
