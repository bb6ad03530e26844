// A sighting in a link's fragment, so that a verdict pasted into a chat opens
// the same sighting for whoever follows it: the five texts top to bottom,
// separated by commas, then "crest" where the box is ticked, as in
// "2,3,1,4,0" or "3,9,0,2,0,crest". Each text is written as typed, every
// character but letters, digits and "-._~" percent-encoded (a comma too).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace los {

struct Typed {
    std::array<std::string, 5> texts;
    bool crest = false;
    friend bool operator==(const Typed &, const Typed &) = default;
};

std::string fragment(const Typed &typed);
// The texts and box of a fragment of that form; nothing for any other.
std::optional<Typed> parseFragment(std::string_view fragment);

} // namespace los
