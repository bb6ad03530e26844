// What a component hands out: "Copy", "Copy Picture", "Save Picture…" and
// "Which Levels See…" in its context menu, as actions on its widget that Qt
// shows there, and the window's keys, which do what one component's items
// do. Nothing is made before it is first needed.
#pragma once

#include "platform/picture.h"

#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace platform::qt {

// What "Copy" puts on the clipboard, as plain text. Empty: no "Copy".
void setCopyText(QWidget *widget, const QString &text);

// What "Copy Picture" and "Save Picture…" hand out. Empty: neither. With
// none of the items, the widget has no context menu.
void setImage(QWidget *widget, Image image);

// What "Which Levels See…", last in the menu, does. Empty: no such item.
void setLevelsAction(QWidget *widget, std::function<void()> action);

// The window's keys, anywhere in it, do what the widget's items do and are
// shown beside them: the Copy key (Ctrl+C, Ctrl+Insert) while no text is
// selected, Ctrl+Shift+C "Copy Picture", Ctrl+S "Save Picture…", Ctrl+L
// "Which Levels See…"; each nothing while the widget has no such item. The
// window may be the widget itself.
void setDefaultCopy(QWidget *window, QWidget *widget);

// The widget's items, made where it has none yet, for buttons that do the
// same: each is visible while it has something to hand out.
struct MenuActions {
    QAction *copy, *copyPicture, *savePicture;
};
MenuActions menuActions(QWidget *widget);

// Where a picture goes that is saved under the chosen name, and as what: a
// name that ends in ".png" or ".svg", in capitals or not, keeps it and says
// the format, unless it is the name proposed, kept as it was, whose extension
// follows the chosen type; any other name gets the extension of the chosen
// type.
struct SaveAs {
    QString path;
    bool svg;
    friend bool operator==(const SaveAs &, const SaveAs &) = default;
};
SaveAs saveAs(const QString &chosen, bool svgFilter, const QString &proposed = {});

// The quality the PNG writer is given for a saved picture: zlib's level 3
// rather than its default 6, which takes half again as long for a table of
// levels and makes the file only a twentieth smaller.
inline constexpr int pngQuality = 60;

} // namespace platform::qt
