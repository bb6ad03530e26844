#include "x_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <functional>

namespace {
bool waitUntil(const std::function<bool()> &done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}
} // namespace

XSession::~XSession() {
    for (QProcess *p : {&manager_, &server_}) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(1000);
        }
    }
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return env;
}

bool XSession::start(QString *why, bool windowManager, QSize screen) {
    int n = 90 + int(QCoreApplication::applicationPid() % 200);
    while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) ||
           QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
        ++n;
    display_ = QStringLiteral(":%1").arg(n);
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.start(QStringLiteral("Xvfb"),
                  {display_, "-screen", "0",
                   QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()), "-nolisten",
                   "tcp", "-noreset"});
    if (!server_.waitForStarted(5000)) {
        *why = QStringLiteral("Xvfb did not start");
        return false;
    }
    // The socket appears before the server takes clients: wait for an answer.
    int status = -1;
    const bool up = waitUntil(
        [&] {
            run("xprop", {"-root"}, &status);
            return status == 0;
        },
        10000);
    if (!up) {
        *why = QStringLiteral("Xvfb does not answer on %1").arg(display_);
        return false;
    }
    managed_ = windowManager;
    if (!managed_)
        return true;
    manager_.setProcessEnvironment(environment());
    manager_.setStandardErrorFile(QProcess::nullDevice());
    manager_.setStandardOutputFile(QProcess::nullDevice());
    for (int attempt = 0; attempt < 3; ++attempt) {
        manager_.start(QStringLiteral("openbox"), {});
        const bool managed = waitUntil(
            [&] {
                return manager_.state() == QProcess::NotRunning || // gave up: start it again
                       run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
            },
            10000);
        if (managed && manager_.state() != QProcess::NotRunning)
            return true;
        manager_.waitForFinished(1000);
    }
    *why = QStringLiteral("openbox did not take over %1").arg(display_);
    return false;
}

QByteArray XSession::run(const QString &program, const QStringList &args, int *exitCode) const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    p.waitForFinished(10000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

QString XSession::findWindow(const QString &title, int timeoutMs) const {
    QString id;
    waitUntil(
        [&] {
            const QByteArray out = run("xdotool", {"search", "--onlyvisible", "--name",
                                                   "^" + QRegularExpression::escape(title) + "$"});
            id = QString::fromLatin1(out).split('\n', Qt::SkipEmptyParts).value(0);
            return !id.isEmpty();
        },
        timeoutMs);
    return id;
}

bool XSession::focus(const QString &window) const {
    // Without a window manager nothing answers a request to activate: a
    // program that draws its own title bars (the Windows program under Wine)
    // takes a click there as a player's.
    if (!managed_) {
        const QRect frame = outerFrame(window);
        click(frame.topLeft() + QPoint(frame.width() / 2, 8));
    }
    run("xdotool", {managed_ ? "windowactivate" : "windowfocus", "--sync", window});
    return waitUntil(
        [&] { return run("xdotool", {"getwindowfocus"}).trimmed() == window.toLatin1(); }, 5000);
}

QRect XSession::outerFrame(const QString &window) const {
    const QString info = QString::fromLatin1(run("xwininfo", {"-id", window}));
    const auto field = [&](const char *name) {
        const QRegularExpression re(QStringLiteral("%1:\\s+(-?\\d+)").arg(name));
        return re.match(info).captured(1).toInt();
    };
    const QRect inner(field("Absolute upper-left X"), field("Absolute upper-left Y"),
                      field("Width"), field("Height"));
    const QString extents =
        QString::fromLatin1(run("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}));
    const QRegularExpression re(QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)"));
    const auto m = re.match(extents);
    if (!m.hasMatch())
        return inner;
    // left, right, top, bottom
    return inner.adjusted(-m.captured(1).toInt(), -m.captured(3).toInt(), m.captured(2).toInt(),
                          m.captured(4).toInt());
}

QImage XSession::screenshot() const {
    return QImage::fromData(run("import", {"-window", "root", "bmp:-"}), "BMP");
}

void XSession::click(QPoint at, int button) const {
    run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click",
                    QString::number(button)});
}

void XSession::moveTo(QPoint at) const {
    run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())});
}

void XSession::type(const QString &text) const {
    run("xdotool", {"type", "--delay", "15", "--", text});
}

void XSession::key(const QStringList &keys) const {
    run("xdotool", QStringList{"key", "--delay", "40"} + keys);
}

void XSession::closeWindow(const QString &title) const {
    if (managed_) {
        run("wmctrl", {"-c", title});
    } else if (const QString window = findWindow(title); focus(window)) {
        key({"alt+F4"});
    }
}
