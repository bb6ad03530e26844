// A top-level window whose coordinates are those of its outer frame.
//
// The form is laid out in absolute pixels measured from the window's outer
// top-left corner, title bar and border included, and its size is the outer
// size. Qt measures children from the inside of the frame and sizes the inside,
// so Frame subtracts the decoration's insets. They are known only once a window
// manager has decorated the window and may change later (another theme, no
// manager at all), so Frame re-applies them whenever they change.
#pragma once

#include <QHash>
#include <QMargins>
#include <QRect>
#include <QWidget>

#include <memory>
#include <vector>

namespace platform {

class Frame;

struct WindowEvent {
    Frame *window;
};

class WindowListener {
public:
    virtual ~WindowListener() = default;
    virtual void windowOpened(const WindowEvent &e) = 0;
    virtual void windowClosing(const WindowEvent &e) = 0;
    virtual void windowClosed(const WindowEvent &e) = 0;
    virtual void windowIconified(const WindowEvent &e) = 0;
    virtual void windowDeiconified(const WindowEvent &e) = 0;
    virtual void windowActivated(const WindowEvent &e) = 0;
    virtual void windowDeactivated(const WindowEvent &e) = 0;
};

// Empty handlers, so that a listener overrides only what it cares about.
class WindowAdapter : public WindowListener {
public:
    void windowOpened(const WindowEvent &) override {}
    void windowClosing(const WindowEvent &) override {}
    void windowClosed(const WindowEvent &) override {}
    void windowIconified(const WindowEvent &) override {}
    void windowDeiconified(const WindowEvent &) override {}
    void windowActivated(const WindowEvent &) override {}
    void windowDeactivated(const WindowEvent &) override {}
};

class Frame : public QWidget {
public:
    // Outer size and outer top-left corner on the screen.
    void setSize(int width, int height);
    void setLocation(int x, int y);
    void setTitle(const QString &title) { setWindowTitle(title); }

    // Makes child a child of this window; the add order is the focus order.
    void add(QWidget *child);
    // Places a child of this window, in outer-frame coordinates.
    void setBounds(QWidget *child, int x, int y, int width, int height);

    // The frame owns its listeners; windowClosing is called when the user
    // asks to close the window, which stays open unless a listener acts.
    void addWindowListener(std::unique_ptr<WindowListener> listener);

    // The decoration currently subtracted from outer-frame coordinates.
    QMargins insets() const { return insets_; }

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void applyInsets(bool force);
    template <typename Handler> void notify(Handler handler);

    QMargins insets_;
    QSize outerSize_;
    QHash<QWidget *, QRect> outerBounds_;
    std::vector<std::unique_ptr<WindowListener>> listeners_;
    bool opened_ = false;
};

} // namespace platform
