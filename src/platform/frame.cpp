#include "frame.h"

#include <QCloseEvent>
#include <QWindow>

namespace platform {

void Frame::setSize(int width, int height) {
    outerSize_ = QSize(width, height);
    applyInsets(true);
}

void Frame::setLocation(int x, int y) {
    // Qt places a top-level window's outer frame corner with move().
    move(x, y);
}

void Frame::add(QWidget *child) {
    child->setParent(this);
}

void Frame::setBounds(QWidget *child, int x, int y, int width, int height) {
    outerBounds_.insert(child, QRect(x, y, width, height));
    child->setGeometry(QRect(x, y, width, height).translated(-insets_.left(), -insets_.top()));
}

void Frame::addWindowListener(std::unique_ptr<WindowListener> listener) {
    listeners_.push_back(std::move(listener));
}

void Frame::applyInsets(bool force) {
    const QMargins now = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (now == insets_ && !force)
        return;
    insets_ = now;
    for (auto it = outerBounds_.cbegin(); it != outerBounds_.cend(); ++it)
        it.key()->setGeometry(it.value().translated(-insets_.left(), -insets_.top()));
    if (outerSize_.isValid())
        resize(outerSize_.shrunkBy(insets_));
}

template <typename Handler> void Frame::notify(Handler handler) {
    const WindowEvent e{this};
    for (const auto &listener : listeners_)
        ((*listener).*handler)(e);
}

bool Frame::event(QEvent *e) {
    switch (e->type()) {
    case QEvent::Show:
        applyInsets(false);
        if (!opened_) {
            opened_ = true;
            notify(&WindowListener::windowOpened);
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::PlatformSurface:
        // A window manager reports its decoration with the first move after mapping.
        applyInsets(false);
        break;
    case QEvent::WindowActivate:
        notify(&WindowListener::windowActivated);
        break;
    case QEvent::WindowDeactivate:
        notify(&WindowListener::windowDeactivated);
        break;
    case QEvent::WindowStateChange: {
        const bool was =
            static_cast<QWindowStateChangeEvent *>(e)->oldState() & Qt::WindowMinimized;
        const bool is = windowState() & Qt::WindowMinimized;
        if (is != was)
            notify(is ? &WindowListener::windowIconified : &WindowListener::windowDeiconified);
        break;
    }
    default:
        break;
    }
    return QWidget::event(e);
}

void Frame::closeEvent(QCloseEvent *e) {
    // The frame does not close itself: its listeners decide what a close
    // request means.
    e->ignore();
    notify(&WindowListener::windowClosing);
}

} // namespace platform
