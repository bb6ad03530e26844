// Colours, fonts and the one style that every window of the program is
// drawn in, whatever desktop theme the user runs.
#pragma once

#include "platform/controls.h"

#include <QColor>
#include <QFont>

class QWidget;

namespace platform::qt {

// "Dialog" is Liberation Sans, else Arial, else the system's sans serif: faces
// with the metrics the form was laid out in. The size is in pixels.
QFont font(const Font &font);

// Paints the whole widget in one flat colour: a field's text area, a button's
// face, a check box, a label or a plain panel.
void setBackground(QWidget *widget, const QColor &color);

// Puts the flat, theme-independent style, its palette and the dialog face on
// the application.
void installStyle();

} // namespace platform::qt
