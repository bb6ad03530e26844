// Feeds arbitrary bytes to the five fields and the crest box: the parse and
// the rule must neither crash nor trip a sanitizer, the verdict and its
// working must be well formed, and its picture, its image and its table of
// levels must keep to their boxes and come out as SVG that parses.
#include "los/image.h"
#include "los/levels.h"
#include "los/line_of_sight.h"
#include "platform/decimal.h"
#include "platform/svg.h"
#include "support/picture_checks.h"
#include "support/svg_checks.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte ticks the box; the rest are five texts split at newlines.
    los::Sighting s{};
    s.crest = data[0] & 1;
    std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
    float *values[] = {&s.hf, &s.ro, &s.ho, &s.rt, &s.ht};
    for (std::size_t i = 0; i < 5; ++i) {
        const std::size_t end = rest.find('\n');
        s.typed[i] = rest.substr(0, end);
        const std::optional<float> parsed = platform::parseFloat(s.typed[i]);
        if (!parsed)
            return 0;
        *values[i] = *parsed;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    const los::Verdict v = los::judge(s);
    const bool blocked = v.text == "LOS Blocked";
    const bool seen = v.text.size() > 8 && v.text.compare(v.text.size() - 8, 8, "(LOS OK)") == 0;
    // The working's last line weighs the far end against the verdict's count.
    const std::string count = v.text.substr(0, v.text.find(' '));
    const std::string last = v.working.substr(v.working.rfind('\n') + 1);
    if (v.text.empty() || v.text.front() == '-' ||
        (seen ? v.color != los::green : v.color != los::red) ||
        blocked != los::blocked(s.hf, s.ho, s.ht) ||
        (!blocked && last.find(count + (seen ? ", seen." : ", not seen.")) == std::string::npos) ||
        picture_checks::fault(v.picture))
        std::abort();
    // The image and the table of levels keep to their boxes too, and their
    // SVG parses with every text in it, whatever the texts hold.
    const auto whole = [](const platform::Picture &p) {
        const ReadSvg read = readSvg(platform::svg(p));
        return !picture_checks::fault(p) && read.error.isEmpty() &&
               read.texts.size() == textsOf(p).size();
    };
    if (!whole(los::image(los::decide(s), "https://example.org/#x")))
        std::abort();
    const los::LevelTable levels = los::levelTable(s);
    if (!whole(los::image(levels)) || levels.empty() != !(std::fabs(s.ho) <= los::maxLevel) ||
        los::text(levels).find('\n') == std::string::npos)
        std::abort();
    return 0;
}
