// A real X server for end-to-end tests: Xvfb, with openbox as the window
// manager or with none (where Wine draws a window's frame itself), and the
// everyday X tools to look at and drive what runs there.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class XSession {
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // Starts the server and, if asked, the window manager; false with a
    // reason if not.
    bool start(QString *why, bool windowManager = true, QSize screen = {640, 480});
    QString display() const { return display_; }
    QProcessEnvironment environment() const;

    // Runs one X tool to its end and returns what it printed.
    QByteArray run(const QString &program, const QStringList &args, int *exitCode = nullptr) const;

    // The first visible window with this title, waiting up to the timeout.
    QString findWindow(const QString &title, int timeoutMs = 5000) const;
    // Gives the window the keyboard focus and waits until it has it, so that
    // keys typed next cannot go anywhere else.
    bool focus(const QString &window) const;
    // A window's outer frame on the screen, decoration included.
    QRect outerFrame(const QString &window) const;
    QImage screenshot() const;

    // Clicks with a mouse button there: 1 the left, 3 the right.
    void click(QPoint at, int button = 1) const;
    // Moves the pointer there and leaves it at rest.
    void moveTo(QPoint at) const;
    void type(const QString &text) const;
    void key(const QStringList &keys) const;
    // Closes as a user would: the window manager's close, or Alt+F4
    // where there is no window manager.
    void closeWindow(const QString &title) const;

private:
    QString display_;
    bool managed_ = false;
    QProcess server_;
    QProcess manager_;
};
