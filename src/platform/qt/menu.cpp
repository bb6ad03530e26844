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
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <array>

namespace platform::qt {

namespace {

QString tr(const char *text) {
    return QApplication::translate("Quorvel", text);
}

QImage rasterFor(const QWidget *widget, const Image &image) {
    return raster(image.make(), rasterScale(widget->devicePixelRatioF()));
}

// The folder the save dialog opens in: the user's pictures, else the home
// folder, until a picture is saved elsewhere in this run.
QString saveFolder;

// Writes the whole file or nothing, and says why not: a file that was there
// stays whole until the new one is complete.
QString write(const SaveAs &target, int scale, const Image &image) {
    QSaveFile file(target.path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (target.svg) {
        const std::string bytes = svg(image.make());
        file.write(bytes.data(), qint64(bytes.size()));
    } else {
        QImageWriter writer(&file, "png");
        writer.setQuality(pngQuality);
        if (!writer.write(raster(image.make(), scale))) {
            const QString why =
                file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
            file.cancelWriting();
            return why;
        }
    }
    return file.commit() ? QString() : file.errorString();
}

// Asks where to save, as PNG or SVG, until the player names a file to write
// or cancels; then writes the image as it was when asked for, whatever the
// window shows by then, and says so where the file cannot be written. The
// dialog keeps only its own window waiting.
void save(QWidget *owner, const Image &image) {
    const QPointer<QWidget> window = owner->window();
    const int scale = rasterScale(owner->devicePixelRatioF());
    if (saveFolder.isEmpty()) {
        saveFolder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (!QFileInfo(saveFolder).isDir())
            saveFolder = QDir::homePath();
    }
    const QString png = tr("PNG image (*.png)"), svg = tr("SVG image (*.svg)");
    QString proposed =
        QDir(saveFolder).filePath(QString::fromStdString(image.name) + QStringLiteral(".png"));
    bool svgChosen = false;
    for (;;) {
        const QPointer<QFileDialog> dialog = new QFileDialog(window, tr("Save Picture"));
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setNameFilters({png, svg});
        dialog->selectNameFilter(svgChosen ? svg : png);
        // A name typed without an extension takes the chosen type's.
        const auto suffix = [dialog, svg](const QString &filter) {
            dialog->setDefaultSuffix(filter == svg ? QStringLiteral("svg") : QStringLiteral("png"));
        };
        suffix(dialog->selectedNameFilter());
        QObject::connect(dialog, &QFileDialog::filterSelected, dialog, suffix);
        dialog->setDirectory(QFileInfo(proposed).absolutePath());
        dialog->selectFile(QFileInfo(proposed).fileName());
        const int answer = dialog->exec();
        // The dialog goes with its window, should that be destroyed.
        const QString chosen =
            dialog && answer == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
        if (dialog)
            svgChosen = dialog->selectedNameFilter() == svg;
        delete dialog;
        if (chosen.isEmpty())
            return;
        const SaveAs target = saveAs(chosen, svgChosen, proposed);
        const QString shown = QDir::toNativeSeparators(target.path);
        // The dialog asked before it let a file be replaced, but not about
        // the name with the extension added; "No" asks for another name.
        if (target.path != chosen && QFileInfo(target.path).isFile() &&
            QMessageBox::warning(window, tr("Save Picture"),
                                 tr("%1 already exists.\nDo you want to replace it?").arg(shown),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) != QMessageBox::Yes) {
            proposed = target.path;
            continue;
        }
        const QString why = write(target, scale, image);
        if (why.isEmpty())
            saveFolder = QFileInfo(target.path).absolutePath();
        else
            QMessageBox::warning(
                window, tr("Picture Not Saved"),
                tr("The picture could not be saved as “%1”:\n%2.").arg(shown, why));
        return;
    }
}

// The actions of a widget's context menu, children of the widget, and what
// they hand out: Qt shows the visible ones, and a hidden one's key does
// nothing.
class Menu : public QObject {
public:
    explicit Menu(QWidget *owner)
        : QObject(owner), copy(new QAction(tr("&Copy"), owner)),
          copyPicture(new QAction(tr("Copy &Picture"), owner)),
          savePicture(new QAction(tr("&Save Picture\u2026"), owner)),
          levels(new QAction(tr("Which &Levels See\u2026"), owner)) {
        for (QAction *action : all()) {
            action->setVisible(false);
            action->setShortcutVisibleInContextMenu(true);
            owner->addAction(action);
        }
        connect(copy, &QAction::triggered, this,
                [this] { QGuiApplication::clipboard()->setText(text); });
        connect(copyPicture, &QAction::triggered, this,
                [this, owner] { QGuiApplication::clipboard()->setImage(rasterFor(owner, image)); });
        // The save dialog runs an event loop of its own: it saves a copy of
        // the image as it was when chosen.
        connect(savePicture, &QAction::triggered, this, [this, owner] {
            const Image kept = image;
            save(owner, kept);
        });
        // The action may set another in its place while it runs.
        connect(levels, &QAction::triggered, this, [this] {
            if (const std::function<void()> act = levelsAction)
                act();
        });
    }

    std::array<QAction *, 4> all() const { return {copy, copyPicture, savePicture, levels}; }

    void update() {
        copy->setVisible(!text.isEmpty());
        copyPicture->setVisible(!image.empty());
        savePicture->setVisible(!image.empty());
        levels->setVisible(bool(levelsAction));
        const std::array<QAction *, 4> actions = all();
        const bool any = std::any_of(actions.begin(), actions.end(),
                                     [](const QAction *action) { return action->isVisible(); });
        // Without an action the right button's event goes on to the parent.
        static_cast<QWidget *>(parent())->setContextMenuPolicy(any ? Qt::ActionsContextMenu
                                                                   : Qt::DefaultContextMenu);
    }

    // The window's keys, or none.
    void setKeys(bool on) {
        copy->setShortcuts(on ? QKeySequence::keyBindings(QKeySequence::Copy)
                              : QList<QKeySequence>());
        copyPicture->setShortcut(on ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)
                                    : QKeySequence());
        savePicture->setShortcut(on ? QKeySequence(Qt::CTRL | Qt::Key_S) : QKeySequence());
        levels->setShortcut(on ? QKeySequence(Qt::CTRL | Qt::Key_L) : QKeySequence());
    }

    QString text;
    Image image;
    std::function<void()> levelsAction;
    QAction *copy, *copyPicture, *savePicture, *levels;
};

Menu *menuOf(QWidget *widget, bool make) {
    return childOf<Menu>(widget, make);
}

} // namespace

void setCopyText(QWidget *widget, const QString &text) {
    if (Menu *menu = menuOf(widget, !text.isEmpty())) {
        menu->text = text;
        menu->update();
    }
}

void setImage(QWidget *widget, Image image) {
    if (Menu *menu = menuOf(widget, !image.empty())) {
        menu->image = std::move(image);
        menu->update();
    }
}

void setLevelsAction(QWidget *widget, std::function<void()> action) {
    if (Menu *menu = menuOf(widget, bool(action))) {
        menu->levelsAction = std::move(action);
        menu->update();
    }
}

void setDefaultCopy(QWidget *window, QWidget *widget) {
    // One widget's items have the window's keys.
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.append(window);
    for (QWidget *other : widgets)
        if (Menu *menu = menuOf(other, false))
            menu->setKeys(false);
    menuOf(widget, true)->setKeys(true);
}

MenuActions menuActions(QWidget *widget) {
    const Menu *menu = menuOf(widget, true);
    return {menu->copy, menu->copyPicture, menu->savePicture};
}

SaveAs saveAs(const QString &chosen, bool svgFilter, const QString &proposed) {
    const auto is = [&chosen](bool svg) {
        return chosen.endsWith(svg ? QLatin1String(".svg") : QLatin1String(".png"),
                               Qt::CaseInsensitive);
    };
    const QString extension = svgFilter ? QStringLiteral(".svg") : QStringLiteral(".png");
    if (chosen == proposed && (is(false) || is(true)))
        return {chosen.chopped(4) + extension, svgFilter};
    for (const bool svg : {false, true})
        if (is(svg))
            return {chosen, svg};
    return {chosen + extension, svgFilter};
}

} // namespace platform::qt
