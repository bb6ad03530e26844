#include "working.h"

#include "platform/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace los {

namespace {

constexpr std::string_view minus = "\u2212", times = " \u00d7 ", divided = " \u00f7 ";

// A number's text with the typographic minus for the ASCII one.
std::string typographic(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c == '-')
            out += minus;
        else
            out += c;
    return out;
}

// What was typed for a value, without the blanks around it: the player sees
// the number they typed. Where it is not known, or too long to quote, the
// value itself.
std::string quoted(std::string_view typed, float value) {
    while (!typed.empty() && static_cast<unsigned char>(typed.front()) <= ' ')
        typed.remove_prefix(1);
    while (!typed.empty() && static_cast<unsigned char>(typed.back()) <= ' ')
        typed.remove_suffix(1);
    if (typed.empty() || typed.size() > 24)
        return decimal(value);
    return typographic(typed);
}

// A term of a sum as written: in parentheses where it is negative.
std::string term(std::int64_t value) {
    return value < 0 ? "(" + number(value) + ")" : number(value);
}

// " + 4" or " − 4": a term added (or, with negate, taken away), the sign folded in.
std::string signedTerm(std::int64_t value, bool negate = false) {
    const bool down = value == 0 ? negate : (value < 0) != negate;
    const std::int64_t size = value < 0 ? -value : value;
    return std::string(down ? " " + std::string(minus) + " " : " + ") + number(size);
}

std::string hexes(std::int64_t n) {
    return number(n) + (n == 1 || n == -1 ? " hex" : " hexes");
}

const char *end(bool target) {
    return target ? "target" : "firer";
}

} // namespace

std::string number(std::int64_t value) {
    char buffer[24];
    const auto done = std::to_chars(buffer, buffer + sizeof buffer, value);
    return typographic(std::string_view(buffer, static_cast<std::size_t>(done.ptr - buffer)));
}

namespace {

// The exact decimal digits of a single-precision value other than zero: at
// most 112 of them, the first not zero, and the power of ten of the last.
struct Digits {
    char digit[120];
    int count = 0;
    int power = 0;
};

Digits exactly(float size) {
    // The value is m times 2 to the power e: for a negative e, m × 5^-e
    // tenths to the power -e. Either way a whole number, held here in base
    // 10^9, the lowest part first.
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof size);
    std::memcpy(&bits, &size, sizeof bits); // every library here has memcpy, not all bit_cast
    const int biased = static_cast<int>(bits >> 23);
    const int e = biased ? biased - 150 : -149;
    std::uint32_t part[14] = {(bits & 0x7fffffu) | (biased ? 0x800000u : 0u)};
    int parts = 1;
    const auto multiply = [&](std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (int k = 0; k < parts; ++k) {
            carry += std::uint64_t{part[k]} * factor;
            part[k] = static_cast<std::uint32_t>(carry % 1'000'000'000);
            carry /= 1'000'000'000;
        }
        if (carry)
            part[parts++] = static_cast<std::uint32_t>(carry);
    };
    // In as few steps as a part allows: 2^29 and 5^13 are below 2^32.
    for (int k = e; k > 0; k -= 29)
        multiply(std::uint32_t{1} << std::min(k, 29));
    for (int k = -e; k > 0; k -= 13) {
        std::uint32_t power = 1;
        for (int j = std::min(k, 13); j > 0; --j)
            power *= 5;
        multiply(power);
    }
    Digits d;
    d.power = std::min(e, 0);
    for (int k = parts - 1; k >= 0; --k) {
        char nine[9];
        for (int j = 8; j >= 0; --j, part[k] /= 10)
            nine[j] = static_cast<char>('0' + part[k] % 10);
        const int skip =
            k == parts - 1 ? static_cast<int>(std::string_view(nine, 9).find_first_not_of('0')) : 0;
        std::memcpy(d.digit + d.count, nine + skip, static_cast<std::size_t>(9 - skip));
        d.count += 9 - skip;
    }
    return d;
}

} // namespace

std::string decimal(float value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? std::string(minus) + "Infinity" : "Infinity";
    const std::string sign = std::signbit(value) ? std::string(minus) : "";
    if (value == 0)
        return sign + "0";
    const float size = std::fabs(value);
    const Digits exact = exactly(size);
    // The fewest significant digits, rounded to the nearest (ties to even),
    // that read back as the same value: what to_chars writes, the same on
    // every system.
    char shown[120];
    int point = 0; // the power of ten of the first digit
    // The value's digits cut to a length, or cut and raised by one in the
    // last place; whether that reads back as the same value.
    const auto readsBack = [&](int length, bool up) {
        std::memcpy(shown, exact.digit, static_cast<std::size_t>(length));
        point = exact.count - 1 + exact.power;
        if (up) {
            int at = length;
            while (at > 0 && shown[at - 1] == '9')
                shown[--at] = '0';
            if (at == 0) {
                shown[0] = '1';
                ++point;
            } else {
                ++shown[at - 1];
            }
        }
        char text[140];
        text[0] = shown[0];
        text[1] = '.';
        std::memcpy(text + 2, shown + 1, static_cast<std::size_t>(length - 1));
        text[length + 1] = 'e';
        const char *end = std::to_chars(text + length + 2, text + sizeof text, point).ptr;
        return platform::parseFloat(std::string_view(text, static_cast<std::size_t>(end - text))) ==
               size;
    };
    // The nearer of the two that read back (ties to the even digit): no other
    // decimal of that length can read back where neither does.
    const auto nearest = [&](int length) {
        const std::string_view rest(exact.digit + length,
                                    static_cast<std::size_t>(exact.count - length));
        if (rest.find_first_not_of('0') == rest.npos)
            return readsBack(length, false);
        const bool half = rest[0] == '5' && rest.find_first_not_of('0', 1) == rest.npos;
        const bool up = rest[0] > '5' || (rest[0] == '5' && !half) ||
                        (half && (exact.digit[length - 1] - '0') % 2 == 1);
        return readsBack(length, up) || readsBack(length, !up);
    };
    // The first length that reads back, its digits left in shown: nine
    // digits always do, and so do all of the value's own.
    int length = 1;
    while (!nearest(length))
        ++length;
    while (length > 1 && shown[length - 1] == '0')
        --length;
    const std::string_view digits(shown, static_cast<std::size_t>(length));
    // In full, or in powers of ten where that is shorter (as to_chars counts
    // an exponent: a sign and two digits at least), written as a player types.
    std::string full;
    if (point < 0)
        full = "0." + std::string(static_cast<std::size_t>(-point - 1), '0') + std::string(digits);
    else if (point + 1 >= length) // a whole number, whose every digit is then written
        full.assign(exact.digit, static_cast<std::size_t>(exact.count + exact.power));
    else
        full = std::string(digits.substr(0, static_cast<std::size_t>(point + 1))) + "." +
               std::string(digits.substr(static_cast<std::size_t>(point + 1)));
    const std::string power = std::to_string(point < 0 ? -point : point);
    const std::string mantissa =
        length > 1 ? std::string(digits.substr(0, 1)) + "." + std::string(digits.substr(1))
                   : std::string(digits);
    const std::size_t scientific = mantissa.size() + 2 + std::max<std::size_t>(power.size(), 2);
    if (full.size() <= scientific)
        return sign + full;
    return sign + mantissa + "e" + (point < 0 ? std::string(minus) : "") + power;
}

void Working::blocks(const Sighting &s) {
    const std::string hf = quoted(s.typed[0], s.hf), ho = quoted(s.typed[2], s.ho),
                      ht = quoted(s.typed[4], s.ht);
    line("The obstacle, ", ho, ", is ");
    if (s.hf == s.ho)
        more("level with the firer, ", hf, ", and higher than the target, ");
    else if (s.ho == s.ht)
        more("higher than the firer, ", hf, ", and level with the target, ");
    else
        more("higher than the firer, ", hf, ", and the target, ");
    more(ht, ": the line is blocked.");
    line("An obstacle at least as high as both ends, and higher than one of them, blocks.");
}

void Working::doesNotBlock(const Sighting &s) {
    if (std::isnan(s.hf) || std::isnan(s.ho) || std::isnan(s.ht)) {
        line("Not blocked: a height that is not a number never blocks.");
        return;
    }
    const std::string hf = quoted(s.typed[0], s.hf), ho = quoted(s.typed[2], s.ho),
                      ht = quoted(s.typed[4], s.ht);
    line("Not blocked: the obstacle, ", ho, ", is ");
    if (s.ho < s.hf && s.ho < s.ht)
        more("lower than the firer, ", hf, ", and the target, ", ht, ".");
    else if (s.ho < s.hf)
        more("lower than the firer, ", hf, ".");
    else if (s.ho < s.ht)
        more("lower than the target, ", ht, ".");
    else
        more("level with both ends.");
}

void Working::wholeNumbers(const Sighting &s, const std::array<std::int32_t, 5> &whole) {
    const float values[] = {s.hf, s.ro, s.ho, s.rt, s.ht};
    bool listed = false;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const std::string typed = quoted(s.typed[i], values[i]), counted = number(whole[i]);
        if (typed == counted)
            continue;
        if (listed)
            more(", ");
        else
            line("Whole numbers: ");
        listed = true;
        more(typed, " counts as ", counted);
        const float v = values[i];
        if (std::isnan(v))
            more(" (not a number)");
        else if (std::isinf(v))
            more(" (infinite)");
        else if (!(v >= -2147483648.0f && v < 2147483648.0f))
            more(" (beyond 32 bits)");
    }
    if (listed)
        more(".");
}

void Working::higherEnd(bool targetHigher, std::int32_t ihf, std::int32_t iht) {
    if (ihf == iht)
        line("Level: ", number(ihf), " and ", number(iht), ", counted from the firer.");
    else if (targetHigher)
        line("Target higher: ", number(iht), " against ", number(ihf), ".");
    else
        line("Firer higher: ", number(ihf), " against ", number(iht), ".");
}

void Working::count(const BlindCount &c, bool targetHigher) {
    const int crest = c.crest ? 0 : 1;
    const std::string less = " " + std::string(minus) + " ";
    line("Blind hexes: ", term(c.nearRange), divided, "5 + 2", times, term(c.iho), " + ",
         number(crest), less, term(c.ihf), less, term(c.iht));
    line("= ", number(c.fives), signedTerm(2 * std::int64_t{c.iho}), signedTerm(crest),
         signedTerm(c.ihf, true), signedTerm(c.iht, true), " = ", number(c.exact));
    if (c.exact != c.wrapped) {
        more(",");
        line("which wraps around 32 bits to ", number(c.wrapped));
    }
    if (c.count != c.wrapped)
        more(c.crest ? ", raised to 0 for a crest line" : ", raised to 1 as it is no crest line");
    line("(the ", end(targetHigher), "'s range", divided, "5, twice the obstacle, ",
         c.crest ? "0 as it is a crest line" : "1 as it is no crest line", ", less both ends)");
}

void Working::farEnd(bool targetHigher, std::int32_t farRange, std::int32_t blind, bool seen) {
    line(targetHigher ? "Firer " : "Target ", hexes(farRange),
         " beyond the obstacle: ", number(farRange));
    if (seen)
        more(" > ", number(blind), ", seen.");
    else
        more(" is not more than ", number(blind), ", not seen.");
}

} // namespace los
