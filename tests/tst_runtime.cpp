#include "platform/runtime.h"

#include <QTest>

#include <stdexcept>

// What the program writes to standard error when the window cannot be built:
// the failure's type, then its message.
class tst_Runtime : public QObject {
    Q_OBJECT
private slots:
    void describe_data();
    void describe();
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

QTEST_APPLESS_MAIN(tst_Runtime)
#include "tst_runtime.moc"
