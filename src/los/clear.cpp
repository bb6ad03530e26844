#include "form/levels_window.h"
#include "form/quorvel.h"
#include "los/line_of_sight.h"
#include "platform/picture.h"

// Empties the form and gives the result back its neutral amber, with no
// verdict, no working and nothing to copy; "Which Levels See", where it was
// opened, says there is no sighting.
void Quorvel::clear() {
    tf_ho.setText("");
    tf_hf.setText("");
    tf_ht.setText("");
    tf_ro.setText("");
    tf_rt.setText("");
    cb_c.setState(false);
    clearResult();
    tf_hf.requestFocus();
}

void Quorvel::clearResult() {
    l_result.setText("");
    p_result.setToolTip("");
    l_result.setToolTip("");
    p_result.setCopyText("");
    l_result.setCopyText("");
    p_result.setImage({});
    l_result.setImage({});
    p_result.setLevelsAction({});
    l_result.setLevelsAction({});
    shown_.reset();
    if (levels_)
        levels_->fill(nullptr);
    l_result.setAccessibleDescription("");
    p_result.setBackground(los::amber);
    l_result.setBackground(los::amber);
}
