#include "line_of_sight.h"
#include "platform/decimal.h"
#include "side_view.h"
#include "working.h"

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
    return countBlindHexes(nearRange, iho, ihf, iht, crest).count;
}

BlindCount countBlindHexes(std::int32_t nearRange, std::int32_t iho, std::int32_t ihf,
                           std::int32_t iht, bool crest) {
    BlindCount c{nearRange, iho, ihf, iht, crest, nearRange / 5, 0, 0, 0};
    const std::int64_t adjustment = crest ? 0 : 1;
    // In 64 bits every term and the sum are exact.
    c.exact = std::int64_t{c.fives} + 2 * std::int64_t{iho} + adjustment - ihf - iht;
    // Unsigned arithmetic wraps modulo 2^32, and the conversion back to a
    // signed value is two's complement: no step can overflow.
    const auto u = [](std::int64_t v) { return static_cast<std::uint32_t>(v); };
    c.wrapped =
        static_cast<std::int32_t>(u(c.fives) + 2u * u(iho) + u(adjustment) - u(ihf) - u(iht));
    const std::int32_t least = crest ? 0 : 1;
    c.count = c.wrapped < least ? least : c.wrapped;
    return c;
}

std::optional<Sighting> read(const Typed &typed) {
    Sighting s{};
    float *values[] = {&s.hf, &s.ro, &s.ho, &s.rt, &s.ht};
    for (std::size_t i = 0; i < field::count; ++i) {
        const std::optional<float> parsed = platform::parseFloat(typed.texts[i]);
        if (!parsed)
            return std::nullopt;
        *values[i] = *parsed;
        s.typed[i] = typed.texts[i];
    }
    s.crest = typed.crest;
    return s;
}

Decision decide(const Sighting &s) {
    Decision d{s};
    d.whole = {f2i(s.hf), f2i(s.ro), f2i(s.ho), f2i(s.rt), f2i(s.ht)};
    d.blocked = blocked(s.hf, s.ho, s.ht);
    if (d.blocked)
        return d;
    const auto [ihf, iro, iho, irt, iht] = d.whole;
    d.targetHigher = iht > ihf;
    d.nearRange = d.targetHigher ? irt : iro;
    d.farRange = d.targetHigher ? iro : irt;
    d.blind = countBlindHexes(d.nearRange, iho, ihf, iht, s.crest);
    d.seen = d.farRange > d.blind.count;
    return d;
}

std::string verdictLine(const Decision &d) {
    if (d.blocked)
        return "LOS Blocked";
    std::string text = std::to_string(d.blind.count);
    text += " Blind Hexes ";
    text += d.targetHigher ? " T>F" : " F>T";
    text += d.seen ? " (LOS OK)" : " (No LOS)";
    return text;
}

Color verdictColor(const Decision &d) {
    return !d.blocked && d.seen ? green : red;
}

Verdict judge(const Sighting &s) {
    const Decision d = decide(s);
    return {verdictLine(d), verdictColor(d), working(d), sideView(d)};
}

} // namespace los
