#include "svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <string_view>

namespace platform {

namespace {

// A word of the writer's own, an element's or attribute's name or a fixed
// value, never a text of the picture's: only a literal makes one.
class Word {
public:
    template <std::size_t N> consteval Word(const char (&word)[N]) : word_(word, N - 1) {}
    std::string_view text() const { return word_; }

private:
    std::string_view word_;
};

class Writer {
public:
    explicit Writer(std::string &out) : out_(out) {}

    Writer &operator<<(Word word) {
        out_ += word.text();
        return *this;
    }
    Writer &operator<<(long long n) {
        char buffer[24];
        out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, n).ptr);
        return *this;
    }
    // A coordinate or size, to a hundredth of a pixel, without trailing
    // zeros: the same digits on every system. Pictures hold only finite
    // values of a few hundred pixels; anything else is held to that.
    Writer &operator<<(float v) {
        const double clamped = std::isfinite(v) ? std::clamp(double{v}, -1e6, 1e6) : 0.0;
        const long long hundredths = std::llround(clamped * 100);
        const long long size = hundredths < 0 ? -hundredths : hundredths;
        if (hundredths < 0)
            out_ += '-';
        *this << size / 100;
        if (const long long rest = size % 100; rest != 0) {
            out_ += '.';
            out_ += static_cast<char>('0' + rest / 10);
            if (rest % 10 != 0)
                out_ += static_cast<char>('0' + rest % 10);
        }
        return *this;
    }
    Writer &operator<<(Color c) {
        constexpr char digits[] = "0123456789abcdef";
        out_ += '#';
        for (const int part : {c.red, c.green, c.blue}) {
            const int v = std::clamp(part, 0, 255);
            out_ += digits[v >> 4];
            out_ += digits[v & 15];
        }
        return *this;
    }
    // Attribute: name="value", the value a number, a colour or a fixed word.
    template <typename T>
    requires std::same_as<T, float> || std::same_as<T, long long> || std::same_as<T, Color> Writer &
    attr(Word name, T value) {
        return *this << " " << name << "=\"" << value << "\"";
    }
    Writer &attr(Word name, Word value) { return *this << " " << name << "=\"" << value << "\""; }
    // Text content, escaped; a character XML cannot hold becomes U+FFFD.
    void text(std::string_view s);

private:
    std::string &out_;
};

// The character at the start of s: the length of its well-formed UTF-8
// sequence, 0 where there is none (each byte of a broken sequence stands for
// a character of its own), and whether XML 1.0 may hold it in a line's text.
struct Character {
    std::size_t length;
    bool allowed;
};

Character characterAt(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {1, lead >= 0x20 && lead != 0x7F}; // no controls
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || s.size() < length)
        return {0, false};
    std::uint32_t cp = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {0, false};
        cp = cp << 6 | (byte(i) & 0x3F);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, false};
    return {length, cp != 0xFFFE && cp != 0xFFFF && !(cp >= 0x80 && cp <= 0x9F)};
}

void Writer::text(std::string_view s) {
    while (!s.empty()) {
        const auto [n, allowed] = characterAt(s);
        if (!allowed) {
            out_ += "\xEF\xBF\xBD";
            s.remove_prefix(std::max<std::size_t>(n, 1));
            continue;
        }
        switch (s[0]) {
        case '&':
            out_ += "&amp;";
            break;
        case '<':
            out_ += "&lt;";
            break;
        case '>':
            out_ += "&gt;";
            break;
        default:
            out_.append(s.substr(0, n));
        }
        s.remove_prefix(n);
    }
}

void paint(Writer &w, const Shape &s) {
    if (s.filled)
        w.attr("fill", s.fill);
    else
        w.attr("fill", "none");
    if (s.stroked)
        w.attr("stroke", s.ink).attr("stroke-width", s.lineWidth);
}

void shape(Writer &w, const Shape &s) {
    switch (s.kind) {
    case Shape::Kind::Rectangle: {
        // The outline inside the box.
        const float inset = s.stroked ? s.lineWidth / 2 : 0;
        w << "<rect";
        w.attr("x", s.x + inset).attr("y", s.y + inset);
        w.attr("width", std::max(s.width - 2 * inset, 0.0f));
        w.attr("height", std::max(s.height - 2 * inset, 0.0f));
        paint(w, s);
        w << "/>\n";
        break;
    }
    case Shape::Kind::Line:
        w << "<line";
        w.attr("x1", s.points[0].x).attr("y1", s.points[0].y);
        w.attr("x2", s.points[1].x).attr("y2", s.points[1].y);
        w.attr("stroke", s.ink).attr("stroke-width", s.lineWidth);
        w << "/>\n";
        break;
    case Shape::Kind::Polygon:
        w << "<polygon points=\"";
        for (std::size_t i = 0; i < std::min<std::size_t>(s.count, Shape::maxPoints); ++i)
            (i ? w << " " : w) << s.points[i].x << "," << s.points[i].y;
        w << "\"";
        paint(w, s);
        w << "/>\n";
        break;
    case Shape::Kind::Text: {
        // The baseline where the dialog face's line, ascent over descent,
        // stands centred in the box.
        const float x = s.align == Shape::Align::Left     ? s.x
                        : s.align == Shape::Align::Center ? s.x + s.width / 2
                                                          : s.x + s.width;
        w << "<text";
        w.attr("x", x).attr("y", s.y + s.height / 2 + s.size * 0.35f);
        w.attr("font-size", s.size);
        if (s.bold)
            w.attr("font-weight", "bold");
        if (s.align != Shape::Align::Left)
            w.attr("text-anchor", s.align == Shape::Align::Center ? Word("middle") : Word("end"));
        // Blanks kept as they are, two in a row included, where there are
        // such: browsers heed this on the text itself, not on the document.
        if (s.text.find("  ") != std::string::npos || s.text.starts_with(' ') ||
            s.text.ends_with(' '))
            w.attr("xml:space", "preserve");
        w.attr("fill", s.ink);
        w << ">";
        w.text(s.text);
        w << "</text>\n";
        break;
    }
    }
}

} // namespace

std::string svg(const Picture &picture) {
    std::string out;
    out.reserve(64 * picture.shapes.size() + 512);
    Writer w(out);
    w << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    w << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"";
    w.attr("width", static_cast<long long>(picture.width));
    w.attr("height", static_cast<long long>(picture.height));
    w << " viewBox=\"0 0 " << static_cast<long long>(picture.width) << " "
      << static_cast<long long>(picture.height) << "\"";
    w << " font-family=\"'Liberation Sans', Arial, Helvetica, sans-serif\">\n";
    for (const Shape &s : picture.shapes)
        shape(w, s);
    w << "</svg>\n";
    return out;
}

} // namespace platform
