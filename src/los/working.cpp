#include "working.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

std::string decimal(float value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? std::string(minus) + "Infinity" : "Infinity";
    char buffer[64];
#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 200000
    // This standard library writes no floating point with to_chars. Its C
    // library's only locale is "C": the fewest significant digits that read
    // back as the same value, as to_chars would give them.
    int length = 0;
    for (int digits = 1; digits <= 9; ++digits) {
        length = std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value)
            break;
    }
    std::string_view text(buffer, static_cast<std::size_t>(length));
#else
    const auto done = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string_view text(buffer, static_cast<std::size_t>(done.ptr - buffer));
#endif
    // "3e+09" is written "3e9", as a player would type it.
    std::string out;
    if (const std::size_t e = text.find('e'); e != std::string_view::npos) {
        out = text.substr(0, e + 1);
        std::string_view exponent = text.substr(e + 1);
        if (exponent.front() == '+' || exponent.front() == '-') {
            if (exponent.front() == '-')
                out += '-';
            exponent.remove_prefix(1);
        }
        while (exponent.size() > 1 && exponent.front() == '0')
            exponent.remove_prefix(1);
        out += exponent;
        text = out;
    }
    return typographic(text);
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
