#include "menu.h"
#include "native.h"
#include "platform/svg.h"
#include "tip.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace platform::qt {

namespace {

QString tr(const char *text) {
    return QApplication::translate("Quorvel", text);
}

// A raster image is drawn at twice the picture's pixels, or at the scale of
// the widget's screen where that is more.
QImage rasterFor(const QWidget *widget, const Image &image) {
    const double screen = std::clamp(widget->devicePixelRatioF(), 1.0, 8.0);
    return raster(image.make(), std::max(imageScale, int(std::ceil(screen))));
}

// The folder the save dialog opens in: the user's pictures, else the home
// folder, until a picture is saved elsewhere in this run.
QString saveFolder;

// Writes the whole file or nothing, and says why not.
QString write(const SaveAs &target, const QWidget *owner, const Image &image) {
    QSaveFile file(target.path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (target.svg) {
        const std::string bytes = svg(image.make());
        file.write(bytes.data(), qint64(bytes.size()));
    } else if (QImageWriter writer(&file, "png"); !writer.write(rasterFor(owner, image))) {
        const QString why =
            file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.cancelWriting();
        return why;
    }
    return file.commit() ? QString() : file.errorString();
}

void save(QWidget *owner, Image image) {
    QWidget *window = owner->window();
    if (saveFolder.isEmpty()) {
        saveFolder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (!QFileInfo(saveFolder).isDir())
            saveFolder = QDir::homePath();
    }
    const QString png = tr("PNG image (*.png)"), svg = tr("SVG image (*.svg)");
    QString filter = png;
    const QString chosen = QFileDialog::getSaveFileName(
        window, tr("Save Picture"),
        QDir(saveFolder).filePath(QString::fromStdString(image.name) + QStringLiteral(".png")),
        png + QStringLiteral(";;") + svg, &filter);
    if (chosen.isEmpty())
        return;
    const SaveAs target = saveAs(chosen, filter == svg);
    const QString shown = QDir::toNativeSeparators(target.path);
    // The dialog asked before it let a file be replaced, but not about the
    // name with the extension added.
    if (target.path != chosen && QFileInfo(target.path).isFile() &&
        QMessageBox::warning(window, tr("Save Picture"),
                             tr("%1 already exists.\nDo you want to replace it?").arg(shown),
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString why = write(target, owner, image);
    if (why.isEmpty())
        saveFolder = QFileInfo(target.path).absolutePath();
    else
        QMessageBox::warning(window, tr("Picture Not Saved"),
                             tr("The picture could not be saved as “%1”:\n%2.").arg(shown, why));
}

// The actions of a widget's context menu, children of the widget, and what
// they hand out: Qt shows the visible ones.
class Menu : public QObject {
public:
    explicit Menu(QWidget *owner)
        : QObject(owner), copy(new QAction(tr("&Copy"), owner)),
          copyPicture(new QAction(tr("Copy &Picture"), owner)),
          savePicture(new QAction(tr("&Save Picture\u2026"), owner)) {
        for (QAction *action : {copy, copyPicture, savePicture}) {
            action->setVisible(false);
            owner->addAction(action);
        }
        connect(copy, &QAction::triggered, this,
                [this] { QGuiApplication::clipboard()->setText(text); });
        connect(copyPicture, &QAction::triggered, this,
                [this, owner] { QGuiApplication::clipboard()->setImage(rasterFor(owner, image)); });
        // The save dialog runs an event loop of its own: it saves the image
        // as it was when chosen.
        connect(savePicture, &QAction::triggered, this, [this, owner] { save(owner, image); });
    }

    void update() {
        copy->setVisible(!text.isEmpty());
        copyPicture->setVisible(!image.empty());
        savePicture->setVisible(!image.empty());
        auto *owner = static_cast<QWidget *>(parent());
        // Without an action the right button's event goes on to the parent.
        owner->setContextMenuPolicy(copy->isVisible() || !image.empty() ? Qt::ActionsContextMenu
                                                                        : Qt::DefaultContextMenu);
    }

    QString text;
    Image image;
    QAction *copy, *copyPicture, *savePicture;
};

} // namespace

void setCopyText(QWidget *widget, const QString &text) {
    if (Menu *menu = childOf<Menu>(widget, !text.isEmpty())) {
        menu->text = text;
        menu->update();
    }
}

void setImage(QWidget *widget, Image image) {
    if (Menu *menu = childOf<Menu>(widget, !image.empty())) {
        menu->image = std::move(image);
        menu->update();
    }
}

void setDefaultCopy(QWidget *window, QWidget *widget) {
    const QString name = QStringLiteral("quorvel-default-copy");
    delete window->findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
    QAction *copy = childOf<Menu>(widget, true)->copy;
    auto *key = new QAction(window);
    key->setObjectName(name);
    key->setShortcut(QKeySequence::Copy);
    key->setShortcutContext(Qt::WindowShortcut);
    key->setEnabled(copy->isVisible());
    window->addAction(key);
    QObject::connect(copy, &QAction::changed, key,
                     [key, copy] { key->setEnabled(copy->isVisible()); });
    QObject::connect(key, &QAction::triggered, copy, &QAction::trigger);
}

SaveAs saveAs(const QString &chosen, bool svgFilter) {
    for (const bool svg : {false, true})
        if (chosen.endsWith(svg ? QLatin1String(".svg") : QLatin1String(".png"),
                            Qt::CaseInsensitive))
            return {chosen, svg};
    return {chosen + (svgFilter ? QStringLiteral(".svg") : QStringLiteral(".png")), svgFilter};
}

} // namespace platform::qt
