// The working behind a verdict, written line by line as the rule takes its
// steps: a player who doubts a verdict checks it against the rule book from
// these lines alone. Numbers are written by std::to_chars, never through the
// C library's locale, with the typographic minus, times and division signs,
// so that every system shows the same text.
#pragma once

#include "line_of_sight.h"

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace los {

// A whole number; and a height or range as the rule compared it, where the
// text it was read from is not known: the shortest decimal that reads back as
// the same single-precision value.
std::string number(std::int64_t value);
std::string decimal(float value);
// A value in single precision is written by decimal, never as a whole number.
template <std::floating_point F> std::string number(F value) = delete;

class Working {
public:
    Working() { text_.reserve(480); } // room for the longest, written in one go
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
    // Begins a line with the parts, or adds them to the line begun.
    template <typename... Parts> void line(const Parts &...parts) {
        if (!text_.empty())
            text_ += '\n';
        more(parts...);
    }
    template <typename... Parts> void more(const Parts &...parts) {
        (text_.append(std::string_view(parts)), ...);
    }

    std::string text_;
};

} // namespace los
