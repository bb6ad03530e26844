#include "link.h"

#include "form/quorvel.h"

namespace los {

namespace {

constexpr char hex[] = "0123456789ABCDEF";

bool plain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A percent-encoded text, decoded; nothing where a '%' is not followed by
// two hexadecimal digits.
std::optional<std::string> decoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (text.size() - i < 3)
            return std::nullopt;
        const int high = digit(text[i + 1]), low = digit(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

} // namespace

std::string fragment(const Typed &typed, bool levels) {
    std::string out;
    for (const std::string &text : typed.texts) {
        if (&text != &typed.texts.front())
            out += ',';
        for (const char c : text) {
            if (plain(c)) {
                out += c;
            } else {
                const auto byte = static_cast<unsigned char>(c);
                out += '%';
                out += hex[byte >> 4];
                out += hex[byte & 15];
            }
        }
    }
    if (typed.crest)
        out += ",crest";
    if (levels)
        out += ",levels";
    return out;
}

std::optional<Link> parseFragment(std::string_view fragment) {
    Link link;
    std::size_t part = 0;
    // After the five texts, "crest" and "levels", each at most once, in
    // that order.
    enum { texts, crest, levels, done } next = texts;
    while (true) {
        const std::size_t comma = fragment.find(',');
        const std::string_view text = fragment.substr(0, comma);
        if (next == texts) {
            const std::optional<std::string> decodedText = decoded(text);
            if (!decodedText)
                return std::nullopt;
            link.typed.texts[part] = *decodedText;
            if (++part == field::count)
                next = crest;
        } else if (next == crest && text == "crest") {
            link.typed.crest = true;
            next = levels;
        } else if (next != done && text == "levels") {
            link.levels = true;
            next = done;
        } else {
            return std::nullopt;
        }
        if (comma == std::string_view::npos)
            break;
        fragment.remove_prefix(comma + 1);
    }
    if (next == texts)
        return std::nullopt;
    return link;
}

} // namespace los

// A link's sighting replaces whatever the form showed: the result is cleared
// first, so that nothing of an earlier sighting stays beside the new texts,
// then the texts fill the form as a player would type them and are
// calculated; with ",levels", "Which Levels See" opens on it. A fragment of
// any other form leaves the form as it is.
void Quorvel::open(std::string_view fragment) {
    const std::optional<los::Link> link = los::parseFragment(fragment);
    if (!link)
        return;
    clearResult();
    const auto inputs = fields();
    for (std::size_t i = 0; i < inputs.size(); ++i)
        inputs[i]->setText(link->typed.texts[i]);
    cb_c.setState(link->typed.crest);
    calc();
    // A link to the table opens it over a sighting that gives a verdict.
    if (link->levels && shown_)
        showLevels();
}
