#include "form/quorvel.h"
#include "los/line_of_sight.h"
#include "los/verdict_color.h"
#include "platform/decimal.h"
#include "platform/look.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <optional>

using platform::setBackground;

namespace {
std::optional<float> read(const QLineEdit *field) {
    return platform::parseFloat(field->text().toStdString());
}
} // namespace

// Reads the five fields top to bottom and shows the verdict. A field that is
// not a number ends the calculation there and leaves the result as it was.
void Quorvel::calc() {
    los::Sighting s{};
    for (auto [field, value] : {std::pair{tf_hf, &s.hf},
                                {tf_ro, &s.ro},
                                {tf_ho, &s.ho},
                                {tf_rt, &s.rt},
                                {tf_ht, &s.ht}}) {
        const std::optional<float> parsed = read(field);
        if (!parsed)
            return;
        *value = *parsed;
    }
    s.crest = cb_c->isChecked();

    const los::Verdict verdict = los::judge(s);
    setBackground(p_result, toQColor(verdict.color));
    setBackground(l_result, toQColor(verdict.color));
    l_result->setText(QString::fromStdString(verdict.text));
}
