// What a component hands out: "Copy", "Copy Picture" and "Save Picture…" in
// its context menu, as actions on its widget that Qt shows there, and the
// window's Copy key, which copies what one component's "Copy" copies. Nothing
// is made before it is first needed.
#pragma once

#include "platform/picture.h"

#include <QString>

class QWidget;

namespace platform::qt {

// What "Copy" puts on the clipboard, as plain text. Empty: no "Copy".
void setCopyText(QWidget *widget, const QString &text);

// What "Copy Picture" and "Save Picture…" hand out. Empty: neither. With
// neither these nor "Copy", the widget has no context menu.
void setImage(QWidget *widget, Image image);

// The Copy key, pressed anywhere in the window while no text is selected,
// does what "Copy" in the widget's menu does; while the widget has nothing to
// copy, nothing.
void setDefaultCopy(QWidget *window, QWidget *widget);

// Where a picture goes that is saved under the chosen name, and as what: a
// name that ends in ".png" or ".svg", in capitals or not, keeps it and says
// the format; any other gets the extension of the chosen filter.
struct SaveAs {
    QString path;
    bool svg;
    friend bool operator==(const SaveAs &, const SaveAs &) = default;
};
SaveAs saveAs(const QString &chosen, bool svgFilter);

} // namespace platform::qt
