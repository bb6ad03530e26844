// A component's tooltip beyond what Qt's own widgets give: a tooltip of the
// program's own that shows a picture above its lines; and the painting of a
// picture, on a widget or into an image. Nothing is made before it is first
// needed.
#pragma once

#include "platform/picture.h"

#include <QImage>
#include <QString>

class QPainter;
class QWidget;

namespace platform::qt {

// Lines of plain text, with the picture above them where one is given, shown
// when the pointer rests on the widget. Empty text: no tooltip.
void setTip(QWidget *widget, const QString &text, const Picture *picture);

// Draws the picture's shapes with its top-left corner at the painter's origin.
void paint(QPainter &painter, const Picture &picture);

// The picture drawn at scale times its pixels (1 to 8), opaque, on its own
// ground, its first shape's fill, to the image's edges.
QImage raster(const Picture &picture, int scale);

} // namespace platform::qt
