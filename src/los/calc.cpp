#include "form/levels_window.h"
#include "form/quorvel.h"
#include "los/image.h"
#include "los/line_of_sight.h"
#include "los/link.h"
#include "platform/picture.h"
#include "platform/runtime.h"

#include <optional>
#include <string>

// Reads the five fields top to bottom and shows the verdict, with its working
// and its picture where the pointer rests on it, its working for screen
// readers, and all of it, with a link to the sighting where the program has
// an address, for "Copy"; the sighting's image for "Copy Picture" and "Save
// Picture..."; and "Which Levels See", kept in step where it is open. A field
// that is not a number ends the calculation there and leaves the result as it
// was.
void Quorvel::calc() {
    los::Typed typed;
    const auto inputs = fields();
    for (std::size_t i = 0; i < inputs.size(); ++i)
        typed.texts[i] = inputs[i]->text();
    typed.crest = cb_c.state();
    const std::optional<los::Sighting> s = los::read(typed);
    if (!s)
        return;

    const los::Verdict verdict = los::judge(*s);
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
    // The image is drawn only when a player asks for it, from its own copy
    // of the texts.
    const platform::Image image{[typed, link] {
                                    const std::optional<los::Sighting> kept = los::read(typed);
                                    return kept ? los::image(los::decide(*kept), link)
                                                : platform::Picture{};
                                },
                                los::imageName(*s)};
    p_result.setImage(image);
    l_result.setImage(image);
    const auto levels = [this] { showLevels(); };
    p_result.setLevelsAction(levels);
    l_result.setLevelsAction(levels);
    shown_ = typed;
    if (levels_ && levels_->showing())
        levels_->fill(&*shown_);
    l_result.setText(verdict.text);
}
