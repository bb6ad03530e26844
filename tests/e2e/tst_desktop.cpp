#include "support/screen_colours.h"
#include "x_session.h"

#include <QDeadlineTimer>
#include <QTest>

// The real program in a real X server with a window manager, driven with the
// mouse and the keyboard as a player would, and read back from the screen.
class tst_Desktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void startsInPlace_data();
    void startsInPlace();
    void noDisplay();
    void verdictOnScreen_data();
    void verdictOnScreen();
    void clearAndTypeOn();
    void unparsableKeepsColour();
    void keyboardAlone();

private:
    bool launch(const QStringList &args = {});
    bool launchWithGreenVerdict();
    // Closes through the window manager; the program must end with status 1
    // and must not have written anything to standard error.
    void closeAndCheck();
    QColor panel();
    bool waitForPanel(const QColor &colour);
    void fill(const QStringList &values);
    static QPoint field(int row);

    XSession x;
    QProcess program;
    QString window;
    QPoint origin;
};

namespace {
const QString title = QStringLiteral("Quorvel v1.2");
const int fieldTops[] = {30, 54, 79, 102, 129};
// Places to click, from the outer frame's top-left corner.
const QPoint calculate(66, 205), clearButton(142, 205), crestBox(146, 170);
} // namespace

void tst_Desktop::initTestCase() {
    QString why;
    QVERIFY2(x.start(&why), qPrintable(why));
}

bool tst_Desktop::launch(const QStringList &args) {
    program.setProcessEnvironment(x.environment());
    program.start(QStringLiteral(QUORVEL_BINARY), args);
    if (!program.waitForStarted(5000))
        return false;
    window = x.findWindow(title);
    if (window.isEmpty())
        return false;
    // The window manager decorates the window, then the program fits its
    // outer frame; wait for the form to settle at its place.
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        const QRect frame = x.outerFrame(window);
        origin = frame.topLeft();
        if (frame == QRect(50, 50, 208, 257) && panel() == amber)
            break;
        QTest::qWait(30);
    }
    // Whatever did not settle, the test reports; keys must reach the form.
    return x.focus(window);
}

// A test that failed half-way leaves no program behind for the next one.
void tst_Desktop::cleanup() {
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished(5000);
    }
}

void tst_Desktop::closeAndCheck() {
    x.closeWindow(title);
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardError(), QByteArray());
}

QColor tst_Desktop::panel() {
    return x.screenshot().pixelColor(origin + QPoint(12, 224));
}

bool tst_Desktop::waitForPanel(const QColor &colour) {
    QDeadlineTimer deadline(3000);
    while (panel() != colour) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(30);
    }
    return true;
}

QPoint tst_Desktop::field(int row) {
    return QPoint(172, fieldTops[row] + 10);
}

void tst_Desktop::fill(const QStringList &values) {
    for (int i = 0; i < values.size(); ++i) {
        x.click(origin + field(i));
        x.type(values[i]);
    }
}

void tst_Desktop::startsInPlace_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("style") << QStringList{"-style", "windows"};
    QTest::newRow("geometry") << QStringList{"-geometry", "400x300+200+100"};
    QTest::newRow("platform") << QStringList{"-platform", "offscreen"};
    QTest::newRow("reverse") << QStringList{"-reverse"};
    QTest::newRow("plain words") << QStringList{"2", "3", "1", "--help"};
}

// Whatever the command line, the decorated window's outer frame is at
// (50, 50), 208 by 257, with the form laid out from that outer corner.
void tst_Desktop::startsInPlace() {
    QFETCH(QStringList, args);
    QVERIFY(launch(args));
    QCOMPARE(x.outerFrame(window), QRect(50, 50, 208, 257));
    const QImage screen = x.screenshot();
    const auto at = [&](int dx, int dy) { return screen.pixelColor(origin + QPoint(dx, dy)); };
    QCOMPARE(at(172, 29), olive); // the topmost field begins 30 pixels below the top
    QVERIFY(at(172, 30) != olive);
    QCOMPARE(at(172, 40), white);
    QCOMPARE(at(20, 40), olive); // captions end on the right
    QCOMPARE(at(36, 205), grey); // flat buttons
    closeAndCheck();
}

void tst_Desktop::noDisplay() {
    QProcessEnvironment env = x.environment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4095"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUORVEL_BINARY), {});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit); // no abort
    QCOMPARE(p.exitCode(), 1);
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(err.contains("could not connect to display :4095"), err.constData());
}

void tst_Desktop::verdictOnScreen_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("crest");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("1 blind, F>T, seen") << QStringList{"2", "3", "1", "4", "0"} << false << green;
    QTest::newRow("crest, 0 blind") << QStringList{"3", "9", "0", "2", "0"} << true << green;
    QTest::newRow("4 blind, No LOS") << QStringList{"3", "10", "2", "2", "0"} << false << red;
    QTest::newRow("blocked") << QStringList{"1", "5", "3", "5", "2"} << false << red;
    QTest::newRow("negative range") << QStringList{"3", "-3", "2", "2", "0"} << false << red;
}

void tst_Desktop::verdictOnScreen() {
    QFETCH(QStringList, values);
    QFETCH(bool, crest);
    QFETCH(QColor, colour);
    QVERIFY(launch());
    fill(values);
    if (crest)
        x.click(origin + crestBox);
    x.click(origin + calculate);
    QVERIFY(waitForPanel(colour));
    x.click(origin + clearButton);
    QVERIFY(waitForPanel(amber));
    closeAndCheck();
}

bool tst_Desktop::launchWithGreenVerdict() {
    if (!launch())
        return false;
    fill({"2", "3", "1", "4", "0"});
    x.click(origin + calculate);
    return waitForPanel(green);
}

void tst_Desktop::clearAndTypeOn() {
    QVERIFY(launchWithGreenVerdict());
    x.click(origin + clearButton);
    QVERIFY(waitForPanel(amber));
    // Keys typed now land in the obstacle's height: 3 makes it block.
    x.type(QStringLiteral("3"));
    for (auto [row, value] : {std::pair{0, "1"}, {1, "5"}, {3, "5"}, {4, "2"}}) {
        x.click(origin + field(row));
        x.type(QString::fromLatin1(value));
    }
    x.click(origin + calculate);
    QVERIFY(waitForPanel(red));
    closeAndCheck();
}

void tst_Desktop::unparsableKeepsColour() {
    QVERIFY(launchWithGreenVerdict());
    x.click(origin + field(3));
    x.type(QStringLiteral("x"));
    x.click(origin + calculate);
    QTest::qWait(300);
    QCOMPARE(panel(), green);
    closeAndCheck();
}

void tst_Desktop::keyboardAlone() {
    QVERIFY(launch());
    x.click(origin + field(0));
    // 3, 9, 0, 2, 0 with the crest box ticked: "0 Blind Hexes  F>T (LOS OK)".
    for (const char *value : {"3", "9", "0", "2", "0"}) {
        x.type(QString::fromLatin1(value));
        x.key({"Tab"});
    }
    x.key({"space", "Tab", "space"});
    QVERIFY(waitForPanel(green));
    closeAndCheck();
}

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
