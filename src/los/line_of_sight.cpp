#include "line_of_sight.h"

#include <limits>

namespace los {

namespace {
constexpr std::int32_t intMin = std::numeric_limits<std::int32_t>::min();
}

std::int32_t f2i(float value) {
    // -2^31 and 2^31 are exact in single precision; NaN fails both tests.
    if (!(value >= -2147483648.0f && value < 2147483648.0f))
        return intMin;
    return static_cast<std::int32_t>(value); // truncates, whatever the rounding mode
}

bool blocked(float hf, float ho, float ht) {
    return (hf < ho && ho > ht) || (hf == ho && ho > ht) || (hf < ho && ho == ht);
}

std::int32_t blindHexes(std::int32_t nearRange, std::int32_t iho, std::int32_t ihf,
                        std::int32_t iht, bool crest) {
    // Unsigned arithmetic wraps modulo 2^32, and the conversion back to a
    // signed value is two's complement: no step can overflow.
    const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
    const std::uint32_t sum = u(nearRange / 5) + 2u * u(iho) + (crest ? 0u : 1u) - u(ihf) - u(iht);
    const auto count = static_cast<std::int32_t>(sum);
    const std::int32_t least = crest ? 0 : 1;
    return count < least ? least : count;
}

Verdict judge(const Sighting &s) {
    if (blocked(s.hf, s.ho, s.ht))
        return {"LOS Blocked", red};

    const std::int32_t iho = f2i(s.ho), ihf = f2i(s.hf), iro = f2i(s.ro), irt = f2i(s.rt),
                       iht = f2i(s.ht);
    const bool targetHigher = iht > ihf;
    const std::int32_t nearRange = targetHigher ? irt : iro;
    const std::int32_t farRange = targetHigher ? iro : irt;
    const std::int32_t blind = blindHexes(nearRange, iho, ihf, iht, s.crest);
    const bool seen = farRange > blind;

    std::string text = std::to_string(blind);
    text += " Blind Hexes ";
    text += targetHigher ? " T>F" : " F>T";
    text += seen ? " (LOS OK)" : " (No LOS)";
    return {std::move(text), seen ? green : red};
}

} // namespace los
