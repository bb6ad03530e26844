// Result colours as the window paints them.
#pragma once

#include "line_of_sight.h"

#include <QColor>

inline QColor toQColor(los::Rgb c) {
    return QColor(c.red, c.green, c.blue);
}
