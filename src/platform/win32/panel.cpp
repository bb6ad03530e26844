#include "native.h"

namespace platform {

// A plain window of the frame's own class; Tab reaches the controls inside.
Panel::Panel() : Container(Native::make(containerClass(), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT)) {}

} // namespace platform
