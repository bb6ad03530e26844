#include "form/quorvel.h"
#include "los/line_of_sight.h"
#include "platform/decimal.h"

#include <optional>

// Reads the five fields top to bottom and shows the verdict. A field that is
// not a number ends the calculation there and leaves the result as it was.
void Quorvel::calc() {
    los::Sighting s{};
    for (auto [field, value] : {std::pair{&tf_hf, &s.hf},
                                {&tf_ro, &s.ro},
                                {&tf_ho, &s.ho},
                                {&tf_rt, &s.rt},
                                {&tf_ht, &s.ht}}) {
        const std::optional<float> parsed = platform::parseFloat(field->text());
        if (!parsed)
            return;
        *value = *parsed;
    }
    s.crest = cb_c.state();

    const los::Verdict verdict = los::judge(s);
    p_result.setBackground(verdict.color);
    l_result.setBackground(verdict.color);
    l_result.setText(verdict.text);
}
