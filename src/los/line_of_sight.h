// The line-of-sight rule: whether an obstacle blocks the line between firer
// and target, and otherwise how many blind hexes it casts behind it.
// Plain C++, no toolkit: the window, the tests, the fuzzer and the benchmark all
// drive it directly.
#pragma once

#include "platform/controls.h"
#include "platform/picture.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace los {

using platform::Color;

inline constexpr Color amber{252, 192, 64};  // no verdict yet
inline constexpr Color green{128, 255, 128}; // the far end is seen
inline constexpr Color red{255, 32, 32};     // blocked, or the far end is blind

// The form's five fields, top to bottom: where each stands in the arrays
// that hold one entry a field, and its caption on the form, which is also
// what screen readers call it and how the image names its value; and the
// crest-line box, named by its two captions read as one.
namespace field {
inline constexpr std::size_t hf = 0, ro = 1, ho = 2, rt = 3, ht = 4, count = 5;
inline constexpr std::array<std::string_view, count> captions{
    "Height of Firer", "Range of Firer to Obstacle", "Height of Obstacle",
    "Range of Obstacle to Target", "Height of Target"};
inline constexpr std::string_view crest = "Obstacle is a non-Cliff Crest Line";
} // namespace field

// What a player typed and ticked: the five texts top to bottom, and the box.
struct Typed {
    std::array<std::string, field::count> texts;
    bool crest = false;
    friend bool operator==(const Typed &, const Typed &) = default;
};

// The five numbers of the form, as parsed, and the crest-line box.
//
// The typed texts are views: they belong to the caller, and a Sighting (and a
// Decision, which holds one) is good only while they live. The form decides
// and draws within one call, with the texts in hand; whatever keeps a
// sighting for later keeps its texts with it.
struct Sighting {
    float hf, ro, ho, rt, ht;
    bool crest;
    // The texts the five numbers were read from, top to bottom: the working
    // quotes a height or range as it was typed. A value given without its
    // text is quoted as the whole number it counts as.
    std::array<std::string_view, field::count> typed{};

    // The five numbers top to bottom, by field::hf to field::ht.
    std::array<float, field::count> values() const { return {hf, ro, ho, rt, ht}; }
};

// The sighting of the typed texts, read top to bottom, its typed views into
// typed (good while typed lives); nothing where a text is not a number.
std::optional<Sighting> read(const Typed &typed);

struct Verdict {
    std::string text;
    Color color;
    // How the rule came to the verdict, step by step, in a few lines of plain
    // text (UTF-8, lines ended by '\n' but the last), the same on every
    // system: each number as the rule used it.
    std::string working;
    // The same sighting seen from the side, as the rule book draws it.
    platform::Picture picture;
    friend bool operator==(const Verdict &, const Verdict &) = default;
};

// Truncates toward zero. Not-a-number, the infinities and every value whose
// truncation does not fit 32 bits give INT32_MIN, large positive ones included.
std::int32_t f2i(float value);

// The obstacle blocks when it is at least as high as both ends and higher than
// one of them. Compared before any truncation; not-a-number never blocks.
bool blocked(float hf, float ho, float ht);

// The blind hexes behind the obstacle, seen from the higher end: one per full
// five hexes of near range, plus the obstacle's height above the lower end, less
// the higher end's height above the obstacle, plus one unless the obstacle is a
// non-cliff crest line; at least 0 for a crest line and 1 otherwise. The
// arithmetic is 32-bit and wraps.
std::int32_t blindHexes(std::int32_t nearRange, std::int32_t iho, std::int32_t ihf,
                        std::int32_t iht, bool crest);

// The same count with its steps, as the working shows them.
struct BlindCount {
    std::int32_t nearRange, iho, ihf, iht;
    bool crest;
    std::int32_t fives;   // nearRange / 5, toward zero
    std::int64_t exact;   // the sum as a player adds it up
    std::int32_t wrapped; // the same sum in 32-bit arithmetic
    std::int32_t count;   // raised to the least where below it
};
BlindCount countBlindHexes(std::int32_t nearRange, std::int32_t iho, std::int32_t ihf,
                           std::int32_t iht, bool crest);

// What the rule decided for a sighting, recorded once as it decides: the
// verdict line, its working and its picture are all written from this.
struct Decision {
    Sighting sighting;
    // The five values as whole numbers, top to bottom (by field::hf to
    // field::ht). The rule counts with them only where the line is not
    // blocked; the picture places things by them always.
    std::array<std::int32_t, field::count> whole{};
    bool blocked = false;
    // The rest only where the line is not blocked.
    bool targetHigher = false; // else the firer is the higher end
    // From the higher end to the obstacle, and on from it to the lower end.
    std::int32_t nearRange = 0, farRange = 0;
    BlindCount blind{};
    bool seen = false; // the lower end lies beyond the blind hexes
};
// The result of a sighting: valid while the sighting's typed texts live.
Decision decide(const Sighting &s);

// The verdict line as the result panel shows it, and its colour.
std::string verdictLine(const Decision &d);
Color verdictColor(const Decision &d);

// The verdict line, its colour, its working and its picture.
Verdict judge(const Sighting &s);

} // namespace los
