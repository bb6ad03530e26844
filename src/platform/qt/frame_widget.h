// The Qt window behind a Frame: a top-level widget whose coordinates are
// those of its outer frame.
//
// The form is laid out in absolute pixels measured from the window's outer
// top-left corner, title bar and border included, and its size is the outer
// size. Qt measures children from the inside of the frame and sizes the inside,
// so the widget subtracts the decoration's insets. They are known only once a
// window manager has decorated the window and may change later (another theme,
// no manager at all), so the widget re-applies them whenever they change.
#pragma once

#include "platform/controls.h"

#include <QHash>
#include <QMargins>
#include <QRect>
#include <QWidget>

#include <memory>
#include <vector>

class QPushButton;

namespace platform::qt {

class FrameWidget : public QWidget {
public:
    explicit FrameWidget(Frame *owner) : owner_(owner) {}

    Frame *owner() const { return owner_; }

    void setOuterSize(QSize size);
    // Places a child in outer-frame coordinates.
    void setBounds(QWidget *child, QRect outer);

    void addWindowListener(std::unique_ptr<WindowListener> listener);
    void setDefaultButton(QPushButton *button) { defaultButton_ = button; }

    // The decoration currently subtracted from outer-frame coordinates.
    QMargins insets() const { return insets_; }

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void applyInsets(bool force);
    template <typename Handler> void notify(Handler handler);

    Frame *owner_;
    QMargins insets_;
    QSize outerSize_;
    // Keyed by QObject: a child being destroyed is no longer a widget.
    QHash<QObject *, QRect> outerBounds_;
    std::vector<std::unique_ptr<WindowListener>> listeners_;
    QPushButton *defaultButton_ = nullptr;
    bool opened_ = false;
};

} // namespace platform::qt
