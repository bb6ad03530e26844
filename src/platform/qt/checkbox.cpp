#include "native.h"

#include <QCheckBox>

namespace platform {

namespace {
QCheckBox *box(const Checkbox &checkbox) {
    return qt::widget<QCheckBox>(checkbox);
}
} // namespace

Checkbox::Checkbox() : Component(qt::wrap(new QCheckBox)) {}

void Checkbox::setLabel(std::string_view label) {
    box(*this)->setText(qt::qstring(label));
}

bool Checkbox::state() const {
    return box(*this)->isChecked();
}

void Checkbox::setState(bool ticked) {
    box(*this)->setChecked(ticked);
}

} // namespace platform
