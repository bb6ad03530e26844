#include "form/quorvel.h"
#include "los/line_of_sight.h"
#include "platform/decimal.h"

#include <array>
#include <optional>
#include <string>

// Reads the five fields top to bottom and shows the verdict, with its working
// where the pointer rests on it and for screen readers. A field that is not a
// number ends the calculation there and leaves the result as it was.
void Quorvel::calc() {
    los::Sighting s{};
    std::array<std::string, 5> texts;
    std::size_t i = 0;
    for (auto [field, value] : {std::pair{&tf_hf, &s.hf},
                                {&tf_ro, &s.ro},
                                {&tf_ho, &s.ho},
                                {&tf_rt, &s.rt},
                                {&tf_ht, &s.ht}}) {
        texts[i] = field->text();
        const std::optional<float> parsed = platform::parseFloat(texts[i]);
        if (!parsed)
            return;
        *value = *parsed;
        s.typed[i] = texts[i];
        ++i;
    }
    s.crest = cb_c.state();

    const los::Verdict verdict = los::judge(s);
    p_result.setBackground(verdict.color);
    l_result.setBackground(verdict.color);
    // The working first, so that a screen reader that reads out the new
    // verdict finds its description already in place.
    p_result.setToolTip(verdict.working);
    l_result.setToolTip(verdict.working);
    l_result.setAccessibleDescription(verdict.working);
    l_result.setText(verdict.text);
}
