// The working behind a verdict, written line by line as the rule takes its
// steps: a player who doubts a verdict checks it against the rule book from
// these lines alone. Numbers are written by std::to_chars, never through the
// C library's locale, with the typographic minus, times and division signs,
// so that every system shows the same text.
#pragma once

#include "line_of_sight.h"

#include <array>
#include <cstdint>
#include <string>

namespace los {

// A whole number; and a height or range as the rule compared it, where the
// text it was read from is not known: the shortest decimal that reads back as
// the same single-precision value.
std::string number(std::int64_t value);
std::string decimal(float value);

class Working {
public:
    // Why the obstacle blocks, or why it does not.
    void blocks(const Sighting &s);
    void doesNotBlock(const Sighting &s);
    // The values that count as another whole number than they read as.
    void wholeNumbers(const Sighting &s, const std::array<std::int32_t, 5> &whole);
    void higherEnd(bool targetHigher, std::int32_t ihf, std::int32_t iht);
    void count(const BlindCount &c, bool targetHigher);
    void farEnd(bool targetHigher, std::int32_t farRange, std::int32_t blind, bool seen);

    std::string take() { return std::move(text_); }

private:
    void line(const std::string &text);
    std::string text_;
};

} // namespace los
