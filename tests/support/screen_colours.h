// The colours of the form as a player sees them, for tests that read the
// screen: the window, fields and buttons, and the result panel's three states.
#pragma once

#include <QColor>

inline const QColor olive(182, 182, 107), white(255, 255, 255), grey(192, 192, 192);
inline const QColor amber(252, 192, 64), green(128, 255, 128), red(255, 32, 32);
