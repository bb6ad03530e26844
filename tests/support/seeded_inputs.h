// Seeded inputs for the rule and the parse: numbers as the rule sees them, and
// texts as a player might type them. Everything is drawn from the raw output
// of std::mt19937_64 and written out by this header's own code, so that every
// compiler and C runtime gets the same sequence from the same seed.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <random>
#include <string>

namespace seeded {

inline constexpr std::uint64_t seed = 20261207;

// A float's bits, and the float of given bits, as std::bit_cast gives them
// (which the page's C++ library lacks).
inline std::uint32_t bitsOf(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}
inline float floatOf(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// The largest single-precision value below 2^31.
inline constexpr float belowTwo31 = 2147483520.0f;

// Where the rule's arithmetic changes: the ends of the 32-bit range, the
// fifth of a range, the infinities, not-a-number and the extremes of float.
inline constexpr float edges[] = {0,
                                  1,
                                  -1,
                                  4.99f,
                                  5,
                                  -5,
                                  belowTwo31,
                                  -belowTwo31,
                                  2147483648.0f,
                                  -2147483648.0f,
                                  1073741824.0f,
                                  -1073741824.0f,
                                  std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(),
                                  std::numeric_limits<float>::quiet_NaN(),
                                  std::numeric_limits<float>::max(),
                                  std::numeric_limits<float>::denorm_min()};

// One number: an edge, a small integer, any bit pattern (subnormals, the
// infinities and not-a-numbers included), or a value spread evenly over
// -3e9 to 3e9.
inline float value(std::mt19937_64 &rng) {
    switch (rng() % 4) {
    case 0:
        return edges[rng() % std::size(edges)];
    case 1:
        return static_cast<float>(static_cast<std::int64_t>(rng() % 41) - 20);
    case 2:
        return floatOf(static_cast<std::uint32_t>(rng()));
    default:
        return static_cast<float>(static_cast<double>(rng() >> 11) * 0x1p-53 * 6e9 - 3e9);
    }
}

namespace detail {
inline void digits(std::mt19937_64 &rng, std::string &s, std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i)
        s += static_cast<char>('0' + rng() % 10);
}

// A count of digits: mostly a few, now and then far more than single
// precision holds, so that the parse has to round.
inline std::uint64_t digitCount(std::mt19937_64 &rng) {
    return rng() % 16 == 0 ? 20 + rng() % 41 : rng() % 8;
}

inline const char *pick(std::mt19937_64 &rng, std::initializer_list<const char *> from) {
    return from.begin()[rng() % from.size()];
}

// A finite value as std::to_chars writes it: in scientific notation with
// so many digits after the point; and the shortest text that reads back as
// the float. Where the C++ library has no floating-point to_chars (the
// page's), the C library's printf, which is exact there, writes the same.
#if defined(__cpp_lib_to_chars)
inline std::string scientific(double d, int precision) {
    char buffer[160];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::scientific,
                                  precision)
                        .ptr};
}
inline std::string shortest(float v) {
    char buffer[32];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr};
}
#else
inline std::string scientific(double d, int precision) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision, d);
    return buffer;
}
// The fewest significant digits that read back as v, in fixed notation
// where that is no longer than scientific; a whole number in fixed notation
// has all its digits, as printf's %f gives them.
inline std::string shortest(float v) {
    std::string e;
    for (int p = 0; p < 9; ++p)
        if (std::strtof((e = scientific(v, p)).c_str(), nullptr) == v)
            break;
    const std::size_t at = e.find('e');
    const int exponent = std::atoi(e.c_str() + at + 1);
    const std::string sign = e[0] == '-' ? "-" : "";
    std::string digits;
    for (std::size_t i = sign.size(); i < at; ++i)
        if (e[i] != '.')
            digits += e[i];
    const int n = static_cast<int>(digits.size());
    std::string fixed = sign;
    if (exponent >= n - 1) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(v));
        fixed = buffer;
    } else if (exponent >= 0) {
        fixed += digits.substr(0, static_cast<std::size_t>(exponent) + 1) + '.' +
                 digits.substr(static_cast<std::size_t>(exponent) + 1);
    } else {
        fixed += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return fixed.size() <= e.size() ? fixed : e;
}
#endif
} // namespace detail

// One field's text. About one field in thirty-two is not a number the form
// reads (words in the wrong case, a decimal comma, a stray letter, a lone
// sign or point, nothing at all); the others are numbers written every way
// the form reads them: digits with or without a point and an exponent,
// signs, blanks around, "NaN" and "Infinity", and the shortest text of any
// float.
inline std::string text(std::mt19937_64 &rng) {
    std::string s;
    if (rng() % 32 == 0) {
        switch (rng() % 4) {
        case 0:
            return detail::pick(rng, {"", " ", "nan", "inf", "INFINITY", "-", "+", ".", "e5", "1e",
                                      "1e+", "--1", "0x10", "Infinity1", "NaN.", "+-2"});
        case 1: // a decimal comma
            detail::digits(rng, s, 1 + rng() % 3);
            s += ',';
            detail::digits(rng, s, 1 + rng() % 3);
            return s;
        default: // a stray character somewhere in a number
            s = std::to_string(rng() % 100000);
            const std::size_t at = rng() % (s.size() + 1);
            s.insert(at, 1, "xa/ e."[rng() % 6]);
            return s;
        }
    }
    switch (rng() % 8) {
    case 0:
    case 1:
    case 2: { // a decimal written out digit by digit
        s = detail::pick(rng, {"", "", "-", "+"});
        detail::digits(rng, s, detail::digitCount(rng));
        if (rng() % 2) {
            s += '.';
            detail::digits(rng, s, detail::digitCount(rng));
        }
        if (s.find_first_of("0123456789") == std::string::npos)
            s += '0';
        if (rng() % 4 == 0) {
            s += detail::pick(rng, {"e", "E", "e+", "e-", "E-"});
            detail::digits(rng, s, 1 + rng() % 3); // beyond the range of float, often
        }
        break;
    }
    case 3:
    case 4: { // the shortest text of a value, which reads back as that value
        const float v = value(rng);
        if (std::isnan(v))
            s = "NaN";
        else if (std::isinf(v))
            s = v < 0 ? "-Infinity" : "Infinity";
        else
            s = detail::shortest(v);
        break;
    }
    case 5: { // halfway between two floats, or a hair above: single rounding matters
        const float v = value(rng);
        const float next = std::nextafter(v, std::numeric_limits<float>::infinity());
        if (!std::isfinite(v) || !std::isfinite(next)) {
            s = detail::pick(rng, {"NaN", "-NaN", "+NaN", "Infinity", "-Infinity", "-0"});
            break;
        }
        // Exact in double, and written out whole: no float's halfway point
        // has more than 112 significant digits.
        const double halfway = (static_cast<double>(v) + static_cast<double>(next)) / 2;
        s = detail::scientific(halfway, 120);
        const std::size_t e = s.find('e');
        if (rng() % 2) {
            s[e - 1] = '1'; // 10^-120 of it above halfway
        } else {
            const std::size_t end = s.find_last_not_of('0', e - 1) + 1;
            s.erase(end, e - end);
        }
        break;
    }
    default: // a small integer
        s = std::to_string(static_cast<std::int64_t>(rng() % 41) - 20);
        break;
    }
    if (rng() % 8 == 0)
        s.insert(0, detail::pick(rng, {" ", "  ", "\t"}));
    if (rng() % 8 == 0)
        s += detail::pick(rng, {" ", "\t", "\r\n"});
    return s;
}

} // namespace seeded
