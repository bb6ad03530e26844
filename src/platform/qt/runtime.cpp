#include "platform/runtime.h"
#include "frame_widget.h"
#include "look.h"
#include "session.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <optional>
#include <thread>

namespace platform {

namespace {

std::optional<int> exitRequested;
QString displayFailure;

void fail(const QString &why) {
    std::fprintf(stderr, "quorvel: cannot show the window: %s\n", qPrintable(why));
    std::fflush(stderr);
}

// What Qt says stays unsaid, except a fatal error, which ends the run. Where
// the program knows which display it tried, it says so in its own words;
// otherwise Qt states the cause in the warnings before the fatal one, so the
// last few are kept to go with it.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    static QStringList recent;
    QString line = message;
    if (context.category && qstrcmp(context.category, "default") != 0)
        line = QString::fromLatin1(context.category) + QStringLiteral(": ") + message;
    recent.append(line);
    if (recent.size() > 4)
        recent.removeFirst();
    if (type != QtFatalMsg)
        return;
    if (displayFailure.isEmpty())
        fail(QStringLiteral("the window system failed\n") + recent.join(QLatin1Char('\n')));
    else
        fail(displayFailure);
    std::_Exit(1);
}

QString quoted(const QByteArray &name) {
    return QLatin1Char('"') + QString::fromLocal8Bit(name) + QLatin1Char('"');
}

} // namespace

namespace qt {

Display chooseDisplay() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return {};
    const QByteArray x = qgetenv("DISPLAY");
    QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    // Without WAYLAND_DISPLAY, Wayland programs look for the default socket.
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (wayland.isEmpty() && !runtimeDir.isEmpty() &&
        QFileInfo::exists(runtimeDir + QStringLiteral("/wayland-0")))
        wayland = "wayland-0";

    if (!x.isEmpty() && !wayland.isEmpty())
        return {"xcb;wayland", QStringLiteral("neither the display %1 nor the Wayland display %2 "
                                              "could be opened")
                                   .arg(quoted(x), quoted(wayland))};
    if (!x.isEmpty())
        return {"xcb", QStringLiteral("the display %1 could not be opened").arg(quoted(x))};
    if (!wayland.isEmpty())
        return {"wayland",
                QStringLiteral("the Wayland display %1 could not be opened").arg(quoted(wayland))};
    return {{}, QStringLiteral("no display is set (DISPLAY is empty or unset)")};
}

void skipHopelessBusLaunch() {
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty() && QFileInfo::exists(runtimeDir + QStringLiteral("/bus")))
        return;
    if (QFileInfo(QStringLiteral("/usr/bin/dbus-launch")).isExecutable() ||
        !QStandardPaths::findExecutable(QStringLiteral("dbus-launch")).isEmpty())
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace qt

int runMain(int argc, char **argv, Entry entry) {
    qInstallMessageHandler(messageHandler);
    const qt::Display display = qt::chooseDisplay();
    displayFailure = display.failure;
    if (display.platform.isEmpty() && !display.failure.isEmpty()) {
        fail(display.failure);
        return 1;
    }
    // The accessibility bridge asks for the session bus while the form is
    // built, before the window shows.
    qt::skipHopelessBusLaunch();
    // Qt acts on options such as -style or -geometry; it gets the program's
    // name and the platform alone, so that the command line changes nothing.
    static char name[] = "quorvel", option[] = "-platform";
    static QByteArray platform = display.platform;
    static char *qtArgv[] = {name, option, platform.data(), nullptr};
    static int qtArgc = platform.isEmpty() ? 1 : 3;
    int status = 1;
    {
        // Reading the font configuration is the largest single cost of the
        // form's first text; do it while Qt connects to the display.
        std::thread fonts([] { FcInit(); });
        QApplication app(qtArgc, qtArgv);
        fonts.join();
        qt::installStyle();
        entry(std::span<char *const>(argv, static_cast<std::size_t>(argc)));
        status = exitRequested ? *exitRequested : app.exec();
        // The windows belong to the run: take them down before Qt goes.
        QList<Frame *> frames;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *frame = dynamic_cast<qt::FrameWidget *>(w))
                frames.append(frame->owner());
        qDeleteAll(frames);
    }
    return status;
}

void exit(int status) {
    exitRequested = status;
    QCoreApplication::exit(status);
}

// A desktop program has no address.
std::string linkTo(std::string_view) {
    return {};
}

void onFragment(std::function<void(std::string_view)>) {}

} // namespace platform
