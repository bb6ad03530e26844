// The working behind a verdict, line by line as the rule took its steps: a
// player who doubts a verdict checks it against the rule book from these
// lines alone. Numbers are quoted as they were typed, whole numbers written
// by std::to_chars, never through the C library's locale, with the
// typographic minus, times and division signs, so that every system shows
// the same text.
#pragma once

#include "line_of_sight.h"

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace los {

std::string working(const Decision &d);

// A whole number, with the typographic minus.
std::string number(std::int64_t value);
// Only whole numbers: a height or range is quoted as typed.
template <std::floating_point F> std::string number(F value) = delete;
// A value as typed, without the blanks around it, with the typographic minus;
// a text too long to quote whole is cut in the middle, and a value given
// without its text is quoted as the whole number it counts as.
std::string quoted(std::string_view typed, float value);
// The same in ASCII, for a file's name: the ASCII minus, three dots.
std::string quotedAscii(std::string_view typed, float value);

} // namespace los
