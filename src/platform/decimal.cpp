#include "decimal.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace platform {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The shape of a decimal number: where it has digits and what its exponent is.
struct Shape {
    bool valid = false;
    // The power of ten of the leading non-zero digit, plus one, saturated:
    // positive for magnitudes of 1 and more, zero or less below 1.
    long long magnitude = 0;
};

Shape scan(std::string_view s) {
    constexpr long long limit = 1'000'000'000'000LL;
    Shape shape;
    std::size_t i = 0;
    long long intDigits = 0;        // integer digits after leading zeros
    long long leadingFracZeros = 0; // zeros after the point before the first non-zero digit
    bool seenNonZero = false, seenDigit = false;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        seenDigit = true;
        if (s[i] != '0' || seenNonZero) {
            seenNonZero = true;
            intDigits += intDigits < limit;
        }
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i) {
            seenDigit = true;
            if (s[i] != '0')
                seenNonZero = true;
            else if (!seenNonZero)
                leadingFracZeros += leadingFracZeros < limit;
        }
    }
    if (!seenDigit)
        return shape;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negative = s[i++] == '-';
        if (i == s.size())
            return shape;
        for (; i < s.size() && isDigit(s[i]); ++i)
            exponent = exponent < limit ? exponent * 10 + (s[i] - '0') : limit;
        if (negative)
            exponent = -exponent;
    }
    if (i != s.size())
        return shape;
    shape.valid = true;
    shape.magnitude = (intDigits > 0 ? intDigits : -leadingFracZeros) + exponent;
    return shape;
}

} // namespace

std::optional<float> parseFloat(std::string_view text) {
    std::string_view s = trimmed(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    const float sign = negative ? -1.0f : 1.0f;
    if (s == "NaN")
        return std::numeric_limits<float>::quiet_NaN();
    if (s == "Infinity")
        return sign * std::numeric_limits<float>::infinity();

    const Shape shape = scan(s);
    if (!shape.valid)
        return std::nullopt;
#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 200000
    // This standard library reads no floating point with from_chars. Its C
    // library's strtof rounds once as well, and its only locale is "C"; the
    // text is a plain decimal number by now, which strtof reads whole.
    const std::string text0(s);
    errno = 0;
    const float value = std::strtof(text0.c_str(), nullptr);
    if (errno == ERANGE && (value == 0.0f || std::isinf(value)))
        return sign * (shape.magnitude > 0 ? std::numeric_limits<float>::infinity() : 0.0f);
    return sign * value;
#else
    float value = 0.0f;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range)
        return sign * (shape.magnitude > 0 ? std::numeric_limits<float>::infinity() : 0.0f);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return sign * value;
#endif
}

} // namespace platform
