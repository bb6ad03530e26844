// Colours, fonts and the one style that every window of the program is
// drawn in, whatever desktop theme the user runs.
#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace platform {

namespace colors {
inline const QColor white{255, 255, 255};
inline const QColor lightGray{192, 192, 192};
} // namespace colors

// Font styles, as numbers: bold and italic add up.
enum FontStyle { Plain = 0, Bold = 1, Italic = 2, BoldItalic = Bold | Italic };

// The dialog face: Liberation Sans, else Arial, else the system's sans serif.
// The size is in pixels, as the form's pixel layout was measured in them.
QFont dialogFont(int style, int pixelSize);

// Paints the whole widget in one flat colour: a field's text area, a button's
// face, a check box, a label or a plain panel.
void setBackground(QWidget *widget, const QColor &color);

// Puts the flat, theme-independent style, its palette and the dialog face on
// the application.
void installStyle();

} // namespace platform
