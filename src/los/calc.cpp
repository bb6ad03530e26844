#include "form/quorvel.h"
#include "los/image.h"
#include "los/line_of_sight.h"
#include "los/link.h"
#include "platform/decimal.h"
#include "platform/picture.h"
#include "platform/runtime.h"

#include <optional>
#include <string>

// Reads the five fields top to bottom and shows the verdict, with its working
// and its picture where the pointer rests on it, its working for screen
// readers, and all of it, with a link to the sighting where the program has
// an address, for "Copy"; and the sighting's image for "Copy Picture" and
// "Save Picture...". A field that is not a number ends the calculation
// there and leaves the result as it was.
void Quorvel::calc() {
    los::Sighting s{};
    los::Typed typed;
    std::size_t i = 0;
    for (auto [field, value] : {std::pair{&tf_hf, &s.hf},
                                {&tf_ro, &s.ro},
                                {&tf_ho, &s.ho},
                                {&tf_rt, &s.rt},
                                {&tf_ht, &s.ht}}) {
        typed.texts[i] = field->text();
        const std::optional<float> parsed = platform::parseFloat(typed.texts[i]);
        if (!parsed)
            return;
        *value = *parsed;
        s.typed[i] = typed.texts[i];
        ++i;
    }
    s.crest = typed.crest = cb_c.state();

    const los::Verdict verdict = los::judge(s);
    p_result.setBackground(verdict.color);
    l_result.setBackground(verdict.color);
    // The working first, so that a screen reader that reads out the new
    // verdict finds its description already in place.
    p_result.setToolTip(verdict.working, &verdict.picture);
    l_result.setToolTip(verdict.working, &verdict.picture);
    l_result.setAccessibleDescription(verdict.working);
    const std::string link = platform::linkTo(los::fragment(typed));
    std::string copied = verdict.text + '\n' + verdict.working;
    if (!link.empty())
        copied += '\n' + link;
    p_result.setCopyText(copied);
    l_result.setCopyText(copied);
    // The image is drawn only when a player asks for it, from the sighting
    // and its own copy of the texts.
    const platform::Image image{[s, typed, link] {
                                    los::Sighting kept = s;
                                    for (std::size_t k = 0; k < kept.typed.size(); ++k)
                                        kept.typed[k] = typed.texts[k];
                                    return los::image(los::decide(kept), link);
                                },
                                los::imageName(s)};
    p_result.setImage(image);
    l_result.setImage(image);
    l_result.setText(verdict.text);
}
