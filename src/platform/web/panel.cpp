#include "native.h"

namespace platform {

Panel::Panel() : Container(std::make_unique<Native>("div", "q-panel")) {}

} // namespace platform
