#include "platform/qt/session.h"
#include "platform/runtime.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

// What the program writes to standard error when the window cannot be built:
// the failure's type, then its message.
class tst_Runtime : public QObject {
    Q_OBJECT
private slots:
    void describe_data();
    void describe();
    void skipHopelessBusLaunch_data();
    void skipHopelessBusLaunch();
};

void tst_Runtime::describe_data() {
    QTest::addColumn<std::exception_ptr>("failure");
    QTest::addColumn<QString>("text");
    QTest::newRow("runtime_error") << std::make_exception_ptr(std::runtime_error("no display"))
                                   << "std::runtime_error: no display";
    QTest::newRow("bad_alloc") << std::make_exception_ptr(std::bad_alloc())
                               << "std::bad_alloc: std::bad_alloc";
    QTest::newRow("not an exception class") << std::make_exception_ptr(42) << "int";
}

void tst_Runtime::describe() {
    QFETCH(std::exception_ptr, failure);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(platform::describe(failure)), text);
}

// The session bus address the program runs with, given what the environment
// offers for finding a bus.
void tst_Runtime::skipHopelessBusLaunch_data() {
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<bool>("busSocket");
    QTest::addColumn<bool>("dbusLaunch");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("nothing to find a bus with")
        << QByteArray() << false << false << QByteArray("disabled:");
    QTest::newRow("address given")
        << QByteArray("unix:path=/nowhere") << false << false << QByteArray("unix:path=/nowhere");
    QTest::newRow("bus socket in the runtime dir") << QByteArray() << true << false << QByteArray();
    QTest::newRow("dbus-launch on the path") << QByteArray() << false << true << QByteArray();
}

namespace {
// Puts an environment variable back as it was when the test is over.
struct SavedVariable {
    explicit SavedVariable(const char *name)
        : name(name), value(qgetenv(name)), set(qEnvironmentVariableIsSet(name)) {}
    ~SavedVariable() {
        if (set)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    const char *name;
    QByteArray value;
    bool set;
};
} // namespace

void tst_Runtime::skipHopelessBusLaunch() {
    QFETCH(QByteArray, address);
    QFETCH(bool, busSocket);
    QFETCH(bool, dbusLaunch);
    QFETCH(QByteArray, expected);
    if (!dbusLaunch && QFileInfo(QStringLiteral("/usr/bin/dbus-launch")).isExecutable())
        QSKIP("this machine has dbus-launch");

    const SavedVariable saved[] = {SavedVariable("DBUS_SESSION_BUS_ADDRESS"),
                                   SavedVariable("XDG_RUNTIME_DIR"), SavedVariable("PATH")};
    QTemporaryDir runtimeDir, binDir;
    if (busSocket)
        QVERIFY(QFile(runtimeDir.filePath(QStringLiteral("bus"))).open(QIODevice::WriteOnly));
    if (dbusLaunch) {
        QFile tool(binDir.filePath(QStringLiteral("dbus-launch")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        QVERIFY(tool.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    }
    if (address.isNull())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    qputenv("PATH", binDir.path().toLocal8Bit());

    platform::qt::skipHopelessBusLaunch();
    QCOMPARE(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"), !expected.isNull());
    QCOMPARE(qgetenv("DBUS_SESSION_BUS_ADDRESS"), expected.isNull() ? QByteArray() : expected);
}

QTEST_APPLESS_MAIN(tst_Runtime)
#include "tst_runtime.moc"
