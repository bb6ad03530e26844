#include "frame_widget.h"
#include "menu.h"
#include "native.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

namespace platform {

namespace qt {

void FrameWidget::setOuterSize(QSize size) {
    outerSize_ = size;
    applyInsets(true);
}

void FrameWidget::setBounds(QWidget *child, QRect outer) {
    outerBounds_.insert(child, outer);
    child->setGeometry(outer.translated(-insets_.left(), -insets_.top()));
}

void FrameWidget::addWindowListener(std::unique_ptr<WindowListener> listener) {
    listeners_.push_back(std::move(listener));
}

void FrameWidget::applyInsets(bool force) {
    const QMargins now = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (now == insets_ && !force)
        return;
    insets_ = now;
    for (auto it = outerBounds_.cbegin(); it != outerBounds_.cend(); ++it)
        static_cast<QWidget *>(it.key())->setGeometry(
            it.value().translated(-insets_.left(), -insets_.top()));
    if (outerSize_.isValid())
        resize(outerSize_.shrunkBy(insets_));
}

template <typename Handler> void FrameWidget::notify(Handler handler) {
    const WindowEvent e{owner_};
    for (const auto &listener : listeners_)
        ((*listener).*handler)(e);
}

bool FrameWidget::event(QEvent *e) {
    switch (e->type()) {
    case QEvent::ChildAdded:
        // Enter in a text field presses the default button, as a click would.
        if (auto *field = qobject_cast<QLineEdit *>(static_cast<QChildEvent *>(e)->child()))
            connect(field, &QLineEdit::returnPressed, this, [this] {
                if (defaultButton_)
                    defaultButton_->click();
            });
        break;
    case QEvent::ChildRemoved:
        outerBounds_.remove(static_cast<QChildEvent *>(e)->child());
        break;
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

void FrameWidget::closeEvent(QCloseEvent *e) {
    // The frame does not close itself: its listeners decide what a close
    // request means.
    e->ignore();
    notify(&WindowListener::windowClosing);
}

namespace {
FrameWidget *window(const Frame &frame) {
    return widget<FrameWidget>(frame);
}
} // namespace

} // namespace qt

Frame::Frame() : Container(qt::wrap(new qt::FrameWidget(this))) {}

Frame::~Frame() = default;

void Frame::setTitle(std::string_view title) {
    qt::window(*this)->setWindowTitle(qt::qstring(title));
}

void Frame::setSize(int width, int height) {
    qt::window(*this)->setOuterSize(QSize(width, height));
}

void Frame::setLocation(int x, int y) {
    // Qt places a top-level window's outer frame corner with move().
    qt::window(*this)->move(x, y);
}

void Frame::setVisible(bool visible) {
    qt::window(*this)->setVisible(visible);
}

void Frame::addWindowListener(std::unique_ptr<WindowListener> listener) {
    qt::window(*this)->addWindowListener(std::move(listener));
}

void Frame::setDefaultButton(Button &button) {
    qt::window(*this)->setDefaultButton(qt::widget<QPushButton>(button));
}

void Frame::setDefaultCopy(Component &component) {
    qt::setDefaultCopy(qt::window(*this), qt::widget(component));
}

} // namespace platform
