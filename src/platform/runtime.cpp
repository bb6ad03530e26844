#include "runtime.h"
#include "look.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <fontconfig/fontconfig.h>
#include <memory>
#include <optional>
#include <thread>
#include <typeinfo>

namespace platform {

namespace {

std::optional<int> exitRequested;

// What Qt says stays unsaid, except a fatal error, which ends the run. Qt
// states the cause (no display, say) in the warnings before the fatal one, so
// the last few are kept to go with it.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    static QStringList recent;
    QString line = message;
    if (context.category && qstrcmp(context.category, "default") != 0)
        line = QString::fromLatin1(context.category) + QStringLiteral(": ") + message;
    if (type != QtFatalMsg) {
        recent.append(line);
        if (recent.size() > 4)
            recent.removeFirst();
        return;
    }
    recent.append(line);
    const QByteArray text = recent.join(QLatin1Char('\n')).toLocal8Bit();
    std::fprintf(stderr, "quorvel: the window system failed\n%s\n", text.constData());
    std::fflush(stderr);
    std::_Exit(1);
}

std::string demangled(const char *name) {
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> readable(
        abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? readable.get() : name;
}

} // namespace

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

int runMain(int argc, char **argv, Entry entry) {
    qInstallMessageHandler(messageHandler);
    // The accessibility bridge asks for the session bus while the form is
    // built, before the window shows.
    skipHopelessBusLaunch();
    // Qt acts on options such as -style or -geometry; it gets the program's
    // name alone, so that the command line changes nothing.
    static char name[] = "quorvel";
    static char *qtArgv[] = {name, nullptr};
    static int qtArgc = 1;
    int status = 1;
    {
        // Reading the font configuration is the largest single cost of the
        // form's first text; do it while Qt connects to the display.
        std::thread fonts([] { FcInit(); });
        QApplication app(qtArgc, qtArgv);
        fonts.join();
        installStyle();
        entry(std::span<char *const>(argv, static_cast<std::size_t>(argc)));
        status = exitRequested ? *exitRequested : app.exec();
        // The windows belong to the run: take them down before Qt goes.
        QList<QPointer<QWidget>> windows;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (!w->parentWidget())
                windows.append(w);
        for (const auto &w : windows)
            delete w.data();
    }
    return status;
}

void exit(int status) {
    exitRequested = status;
    QCoreApplication::exit(status);
}

std::string describe(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception &e) {
        return demangled(typeid(e).name()) + ": " + e.what();
    } catch (...) {
        const std::type_info *type = abi::__cxa_current_exception_type();
        return type ? demangled(type->name()) : std::string("unknown failure");
    }
}

void report(std::exception_ptr failure) {
    std::fprintf(stderr, "%s\n", describe(failure).c_str());
    std::fflush(stderr);
}

} // namespace platform
