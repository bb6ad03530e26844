// A component's tooltip and its "Copy", beyond what Qt's own widgets give: a
// tooltip of the program's own that shows a picture above its lines, and a
// context menu that copies a text. Nothing is made before it is first needed.
#pragma once

#include "platform/picture.h"

#include <QString>

class QPainter;
class QWidget;

namespace platform::qt {

// Lines of plain text, with the picture above them where one is given, shown
// when the pointer rests on the widget. Empty text: no tooltip.
void setTip(QWidget *widget, const QString &text, const Picture *picture);

// What "Copy" in the widget's context menu puts on the clipboard. Empty: no
// menu.
void setCopyText(QWidget *widget, const QString &text);

// Draws the picture's shapes with its top-left corner at the painter's origin.
void paint(QPainter &painter, const Picture &picture);

} // namespace platform::qt
