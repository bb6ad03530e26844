// The parse and the rule over a million seeded inputs typed as text: prints
// how many gave which outcome and one digest of them all (every parsed value's
// bits, every field that does not parse, every verdict line, its colour, its
// working and every shape of its picture, for one in sixteen the SVG of its
// image, and for one in sixty-four the table of which levels see, as text and
// as SVG).
// Built for Linux, for Windows and for the page, all must print the same, byte
// for byte.
//
// Usage: verdict_digest [COUNT]
#include "los/image.h"
#include "los/levels.h"
#include "los/line_of_sight.h"
#include "platform/decimal.h"
#include "platform/svg.h"
#include "support/seeded_inputs.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

// 64-bit FNV-1a.
struct Digest {
    std::uint64_t state = 14695981039346656037u;
    void add(std::string_view bytes) {
        for (const char c : bytes)
            state = (state ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    void add(std::uint32_t word) {
        const char bytes[] = {static_cast<char>(word), static_cast<char>(word >> 8),
                              static_cast<char>(word >> 16), static_cast<char>(word >> 24)};
        add(std::string_view(bytes, 4));
    }
};

std::string number(std::uint64_t n, int base = 10) {
    char buffer[24];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, n, base).ptr};
}

} // namespace

int main(int argc, char **argv) {
    std::uint64_t count = 1'000'000;
    if (argc > 1) {
        const std::string_view arg = argv[1];
        if (std::from_chars(arg.data(), arg.data() + arg.size(), count).ptr !=
            arg.data() + arg.size())
            return 2;
    }
    std::mt19937_64 rng(seeded::seed);
    Digest digest;
    std::uint64_t unparsed = 0, blocked = 0, seen = 0, blind = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        float v[5];
        std::string texts[5];
        bool all = true;
        for (std::size_t k = 0; k < 5; ++k) {
            float &field = v[k];
            texts[k] = seeded::text(rng);
            const std::optional<float> parsed = platform::parseFloat(texts[k]);
            digest.add(parsed ? seeded::bitsOf(*parsed) : 0u);
            digest.add(parsed ? "v" : "x");
            all = all && parsed;
            field = parsed.value_or(0.0f);
        }
        const bool crest = (rng() & 1) != 0;
        if (!all) {
            ++unparsed; // the form leaves its result as it was
            continue;
        }
        los::Sighting sighting{v[0], v[1], v[2], v[3], v[4], crest};
        std::copy(std::begin(texts), std::end(texts), sighting.typed.begin());
        const los::Verdict verdict = los::judge(sighting);
        digest.add(verdict.text);
        digest.add(verdict.working);
        for (const platform::Shape &shape : verdict.picture.shapes) {
            digest.add(shape.text);
            for (const float f :
                 {shape.x, shape.y, shape.width, shape.height, shape.lineWidth, shape.size})
                digest.add(seeded::bitsOf(f));
            for (std::size_t i = 0; i < shape.count; ++i)
                for (const float f : {shape.points[i].x, shape.points[i].y})
                    digest.add(seeded::bitsOf(f));
            for (const platform::Color c : {shape.fill, shape.ink})
                digest.add(static_cast<std::uint32_t>(c.red << 16 | c.green << 8 | c.blue));
            digest.add(static_cast<std::uint32_t>(shape.kind) << 24 | shape.filled << 16 |
                       shape.stroked << 8 | shape.count);
        }
        digest.add(static_cast<std::uint32_t>(verdict.color.red << 16 | verdict.color.green << 8 |
                                              verdict.color.blue));
        // The image's SVG, byte for byte, for one input in sixteen.
        if (i % 16 == 0)
            digest.add(platform::svg(los::image(los::decide(sighting))));
        if (i % 64 == 0) {
            const los::LevelTable levels = los::levelTable(sighting);
            digest.add(los::text(levels));
            digest.add(platform::svg(los::image(levels)));
        }
        if (verdict.text == "LOS Blocked")
            ++blocked;
        else if (verdict.color == los::green)
            ++seen;
        else
            ++blind;
    }
    const std::string out = "inputs " + number(count) + "\nunparsed " + number(unparsed) +
                            "\nblocked " + number(blocked) + "\nseen " + number(seen) + "\nblind " +
                            number(blind) + "\ndigest " + number(digest.state, 16) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
