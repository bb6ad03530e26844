#include "native.h"

namespace platform {

Panel::Panel() : Container(qt::wrap(new QWidget)) {}

} // namespace platform
