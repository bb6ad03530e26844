#include "form/quorvel.h"
#include "los/line_of_sight.h"
#include "los/verdict_color.h"
#include "platform/look.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

using platform::setBackground;

// Empties the form and gives the result back its neutral amber.
void Quorvel::clear() {
    tf_ho->setText(QString());
    tf_hf->setText(QString());
    tf_ht->setText(QString());
    tf_ro->setText(QString());
    tf_rt->setText(QString());
    cb_c->setChecked(false);
    l_result->setText(QString());
    setBackground(p_result, toQColor(los::amber));
    setBackground(l_result, toQColor(los::amber));
    tf_hf->setFocus();
}
