#include "working.h"

#include <charconv>
#include <cmath>
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

// What was typed for a value, without the blanks around it: the player sees
// the number they typed. A text too long to quote whole is cut in the middle;
// a value given without its text, the whole number it counts as.
std::string quoted(std::string_view typed, float value) {
    while (!typed.empty() && static_cast<unsigned char>(typed.front()) <= ' ')
        typed.remove_prefix(1);
    while (!typed.empty() && static_cast<unsigned char>(typed.back()) <= ' ')
        typed.remove_suffix(1);
    if (typed.empty()) {
        if (std::isnan(value))
            return "NaN";
        if (std::isinf(value))
            return value < 0 ? std::string(minus) + "Infinity" : "Infinity";
        return number(f2i(value));
    }
    // Every text that reads as a number is ASCII: a cut splits no character.
    if (typed.size() > 24)
        return typographic(typed.substr(0, 12)) + "\u2026" +
               typographic(typed.substr(typed.size() - 10));
    return typographic(typed);
}

std::string quotedAscii(std::string_view typed, float value) {
    std::string out;
    const std::string q = quoted(typed, value);
    for (std::size_t i = 0; i < q.size(); ++i) {
        if (q.compare(i, 3, "\u2212") == 0) {
            out += '-';
            i += 2;
        } else if (q.compare(i, 3, "\u2026") == 0) {
            out += "...";
            i += 2;
        } else {
            out += q[i];
        }
    }
    return out;
}

namespace {

// The lines, appended into one buffer as the rule's steps are taken.
class Working {
public:
    explicit Working(const Sighting &s)
        : s_(s), hf_(quoted(s.typed[0], s.hf)), ho_(quoted(s.typed[2], s.ho)),
          ht_(quoted(s.typed[4], s.ht)) {
        text_.reserve(480); // room for the longest, written in one go
    }

    // Why the obstacle blocks, or why it does not.
    void blocks() {
        line("The obstacle, ", ho_, ", is ");
        if (s_.hf == s_.ho)
            more("level with the firer, ", hf_, ", and higher than the target, ");
        else if (s_.ho == s_.ht)
            more("higher than the firer, ", hf_, ", and level with the target, ");
        else
            more("higher than the firer, ", hf_, ", and the target, ");
        more(ht_, ": the line is blocked.");
        line("An obstacle at least as high as both ends, and higher than one of them, blocks.");
    }

    void doesNotBlock() {
        if (std::isnan(s_.hf) || std::isnan(s_.ho) || std::isnan(s_.ht)) {
            line("Not blocked: a height that is not a number never blocks.");
            return;
        }
        line("Not blocked: the obstacle, ", ho_, ", is ");
        if (s_.ho < s_.hf && s_.ho < s_.ht)
            more("lower than the firer, ", hf_, ", and the target, ", ht_, ".");
        else if (s_.ho < s_.hf)
            more("lower than the firer, ", hf_, ".");
        else if (s_.ho < s_.ht)
            more("lower than the target, ", ht_, ".");
        else
            more("level with both ends.");
    }

    // The values that count as another whole number than they read as.
    void wholeNumbers(const std::array<std::int32_t, 5> &whole) {
        const float values[] = {s_.hf, s_.ro, s_.ho, s_.rt, s_.ht};
        bool listed = false;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            const std::string typed = quoted(s_.typed[i], values[i]), counted = number(whole[i]);
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

    void higherEnd(bool targetHigher, std::int32_t ihf, std::int32_t iht) {
        if (ihf == iht)
            line("Level: ", number(ihf), " and ", number(iht), ", counted from the firer.");
        else if (targetHigher)
            line("Target higher: ", number(iht), " against ", number(ihf), ".");
        else
            line("Firer higher: ", number(ihf), " against ", number(iht), ".");
    }

    void count(const BlindCount &c, bool targetHigher) {
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
            more(c.crest ? ", raised to 0 for a crest line"
                         : ", raised to 1 as it is no crest line");
        line("(the ", end(targetHigher), "'s range", divided, "5, twice the obstacle, ",
             c.crest ? "0 as it is a crest line" : "1 as it is no crest line", ", less both ends)");
    }

    void farEnd(bool targetHigher, std::int32_t farRange, std::int32_t blind, bool seen) {
        line(targetHigher ? "Firer " : "Target ", hexes(farRange),
             " beyond the obstacle: ", number(farRange));
        if (seen)
            more(" > ", number(blind), ", seen.");
        else
            more(" is not more than ", number(blind), ", not seen.");
    }

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

    const Sighting &s_;
    const std::string hf_, ho_, ht_; // the three heights, quoted
    std::string text_;
};

} // namespace

std::string working(const Decision &d) {
    Working w(d.sighting);
    if (d.blocked) {
        w.blocks();
        return w.take();
    }
    w.doesNotBlock();
    w.wholeNumbers(d.whole);
    w.higherEnd(d.targetHigher, d.whole[0], d.whole[4]);
    w.count(d.blind, d.targetHigher);
    w.farEnd(d.targetHigher, d.farRange, d.blind.count, d.seen);
    return w.take();
}

} // namespace los
