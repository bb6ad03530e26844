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

std::string fragment(const Typed &typed) {
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
    return out;
}

std::optional<Typed> parseFragment(std::string_view fragment) {
    Typed typed;
    std::size_t field = 0;
    while (true) {
        const std::size_t comma = fragment.find(',');
        const std::string_view part = fragment.substr(0, comma);
        if (field < 5) {
            const std::optional<std::string> text = decoded(part);
            if (!text)
                return std::nullopt;
            typed.texts[field] = *text;
        } else if (field == 5 && part == "crest") {
            typed.crest = true;
        } else {
            return std::nullopt;
        }
        ++field;
        if (comma == std::string_view::npos)
            break;
        fragment.remove_prefix(comma + 1);
    }
    if (field < 5)
        return std::nullopt;
    return typed;
}

} // namespace los

// A link's sighting replaces whatever the form showed: the result is cleared
// first, so that nothing of an earlier sighting stays beside the new texts,
// then the texts fill the form as a player would type them and are
// calculated. A fragment of any other form leaves the form as it is.
void Quorvel::open(std::string_view fragment) {
    const std::optional<los::Typed> typed = los::parseFragment(fragment);
    if (!typed)
        return;
    clearResult();
    platform::TextField *fields[] = {&tf_hf, &tf_ro, &tf_ho, &tf_rt, &tf_ht};
    for (std::size_t i = 0; i < 5; ++i)
        fields[i]->setText(typed->texts[i]);
    cb_c.setState(typed->crest);
    calc();
}
