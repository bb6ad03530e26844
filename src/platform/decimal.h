// The decimal parse behind the five input fields, free of Qt and of the
// user's locale.
#pragma once

#include <optional>
#include <string_view>

namespace platform {

// Reads a decimal number into single precision, rounded once.
//
// Accepted: blanks and control characters around the number; an optional sign;
// digits with at most one '.', at least one digit in all; an optional exponent
// 'e' or 'E' with optional sign and at least one digit; or the words "NaN" and
// "Infinity" after the optional sign. A value beyond the single-precision range
// becomes the infinity of its sign, one too small becomes zero of its sign.
// Anything else, the empty text included, gives no value.
std::optional<float> parseFloat(std::string_view text);

} // namespace platform
