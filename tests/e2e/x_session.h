// A real X server with a window manager for end-to-end tests: Xvfb, openbox,
// and the everyday X tools to look at and drive what runs there.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

class XSession {
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // Starts the server and the window manager; false with a reason if not.
    bool start(QString *why);
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

    void click(QPoint at) const;
    void type(const QString &text) const;
    void key(const QStringList &keys) const;
    void closeWindow(const QString &title) const;

private:
    QString display_;
    QProcess server_;
    QProcess manager_;
};
