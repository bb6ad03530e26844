#include "los/image.h"
#include "los/levels.h"
#include "los/line_of_sight.h"
#include "los/side_view.h"
#include "platform/svg.h"
#include "support/cases.h"
#include "support/screen_colours.h"
#include "x_session.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

// The real program in a real X server, driven with the mouse and the keyboard
// as a player would, and read back from the screen. By default the Linux
// program under openbox; with QUORVEL_WINDOWS_EXE naming quorvel.exe, the
// Windows program under Wine (its prefix and wineserver set up by the caller),
// with no window manager: Wine then draws the frame itself, where Windows
// would.
class tst_Desktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void startsInPlace_data();
    void startsInPlace();
    void noDisplay_data();
    void noDisplay();
    void casesOnScreen();
    void keyboardAlone();
    void workingOnHover();
    void copyFromContextMenu();
    void copyKey_data();
    void copyKey();
    void picture_data();
    void picture();
    void busyClipboard();
    void levelsWindow();
    void twiceAsLargeAt192Dpi();
    void saveDialogOnWindows();
    void levelsListOnWindows();

private:
    // Starts the program and waits for its form at the given scale; the
    // window then has the keyboard focus.
    bool launch(const QStringList &args = {}, int scale = 1,
                const QProcessEnvironment &env = QProcessEnvironment());
    // Closes as a user would; the program must end with status 1 and must
    // not have written anything to standard error.
    void closeAndCheck();
    QColor pixel(QPoint at, int scale = 1);
    QColor panel(int scale = 1) { return pixel({12, 224}, scale); }
    bool waitForPanel(const QColor &colour, const QString &context, int scale = 1);
    void type(int row, const QString &value, int scale = 1);
    // Types 2, 3, 1, 4, 0 and calculates: "1 Blind Hexes  F>T (LOS OK)".
    bool workedExample(int scale = 1);
    // What appears on the screen when the pointer comes to rest on the
    // verdict: the pixels that turn the verdict's green, their bounding box,
    // and the rows below the window that change under the lowest of them.
    struct Tip {
        int green = 0;
        QRect box;
        int rows = 0;
    };
    Tip hoverVerdict(int scale = 1);
    QByteArray clipboard(const QString &target) const {
        return x.run("xclip", {"-o", "-selection", "clipboard", "-t", target});
    }
    // What the clipboard holds as text once it is the expected text, or
    // after three seconds.
    QString clipboardText(const QString &expected) const;
    bool wine() const { return !windowsExe.isEmpty(); }

    const QString windowsExe = qEnvironmentVariable("QUORVEL_WINDOWS_EXE");
    XSession x;
    QProcess program;
    QString window;
    QPoint origin;
};

namespace {
const QString title = QStringLiteral("Quorvel v1.2");
const QRect home(50, 50, 208, 257);
const int fieldTops[] = {30, 54, 79, 102, 129};
const int obstacleHeight = 2; // the row of the field that "Clear" leaves the keyboard in
// Places to click, from the outer frame's top-left corner.
const QPoint calculate(66, 205), clearButton(142, 205), crestBox(146, 170);
const QPoint verdictLine(100, 236);
// The worked example as typed, and what Copy copies for it.
const los::Sighting worked{2, 3, 1, 4, 0, false, {"2", "3", "1", "4", "0"}};
const QString workedCopy = QStringLiteral(
    "1 Blind Hexes  F>T (LOS OK)\n"
    "Not blocked: the obstacle, 1, is lower than the firer, 2.\n"
    "Firer higher: 2 against 0.\n"
    "Blind hexes: 3 ÷ 5 + 2 × 1 + 1 − 2 − 0\n"
    "= 0 + 2 + 1 − 2 − 0 = 1\n"
    "(the firer's range ÷ 5, twice the obstacle, 1 as it is no crest line, less both ends)\n"
    "Target 4 hexes beyond the obstacle: 4 > 1, seen.");
} // namespace

void tst_Desktop::initTestCase() {
    QString why;
    // Room for the window at twice its size.
    QVERIFY2(x.start(&why, !wine(), QSize(800, 700)), qPrintable(why));
}

bool tst_Desktop::launch(const QStringList &args, int scale, const QProcessEnvironment &env) {
    program.setProcessEnvironment(env.isEmpty() ? x.environment() : env);
    // On a loaded machine the window manager has, rarely, left a new window
    // unmanaged and unmapped; a second start tells that apart from a program
    // that never shows its window.
    window.clear();
    for (int attempt = 0; attempt < 2 && window.isEmpty(); ++attempt) {
        cleanup();
        if (wine())
            program.start(QStringLiteral("wine"), QStringList{windowsExe} + args);
        else
            program.start(QStringLiteral(QUORVEL_BINARY), args);
        if (!program.waitForStarted(5000))
            return false;
        window = x.findWindow(title, 15000);
        if (window.isEmpty())
            qWarning("attempt %d: no window titled %s", attempt + 1, qPrintable(title));
    }
    if (window.isEmpty())
        return false;
    // A window manager decorates the window, then the program fits its outer
    // frame; wait for the form to settle.
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        const QRect frame = x.outerFrame(window);
        origin = frame.topLeft();
        if (frame.size() == home.size() * scale && pixel({12, 224}, scale) == amber)
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
    QList<QByteArray> errors = program.readAllStandardError().split('\n');
    // Wine's save dialog asks for the label of its drive Z:, the Linux root,
    // and Wine itself says on standard error that it cannot read it.
    if (wine())
        errors.removeIf([](const QByteArray &line) {
            return line.startsWith("wine: Read access denied for device");
        });
    QCOMPARE(errors.join('\n'), QByteArray());
}

QColor tst_Desktop::pixel(QPoint at, int scale) {
    return x.screenshot().pixelColor(origin + at * scale);
}

bool tst_Desktop::waitForPanel(const QColor &colour, const QString &context, int scale) {
    QDeadlineTimer deadline(3000);
    QColor seen;
    while ((seen = panel(scale)) != colour) {
        if (deadline.hasExpired()) {
            qWarning("%s: the panel is %s, not %s", qPrintable(context), qPrintable(seen.name()),
                     qPrintable(colour.name()));
            return false;
        }
        QTest::qWait(30);
    }
    return true;
}

void tst_Desktop::type(int row, const QString &value, int scale) {
    x.click(origin + QPoint(172, fieldTops[row] + 10) * scale);
    x.type(value);
}

bool tst_Desktop::workedExample(int scale) {
    const QStringList values = {"2", "3", "1", "4", "0"};
    for (int row = 0; row < 5; ++row)
        type(row, values[row], scale);
    x.click(origin + calculate * scale);
    return waitForPanel(green, QStringLiteral("the worked example"), scale);
}

tst_Desktop::Tip tst_Desktop::hoverVerdict(int scale) {
    x.moveTo(origin + calculate * scale);
    QTest::qWait(300);
    const QImage before = x.screenshot();
    x.moveTo(origin + QPoint(100, 236) * scale);
    QTest::qWait(1500);
    const QImage after = x.screenshot();
    Tip tip;
    for (int y = 0; y < after.height(); ++y)
        for (int column = 0; column < after.width(); ++column)
            if (after.pixel(column, y) != before.pixel(column, y) &&
                after.pixelColor(column, y) == green) {
                ++tip.green;
                tip.box |= QRect(column, y, 1, 1);
            }
    for (int y = std::max(origin.y() + home.height() * scale, tip.box.bottom() + 1);
         y < after.height(); ++y)
        tip.rows += after.copy(0, y, after.width(), 1) != before.copy(0, y, after.width(), 1);
    return tip;
}

QString tst_Desktop::clipboardText(const QString &expected) const {
    QString seen;
    for (QDeadlineTimer deadline(3000); seen != expected && !deadline.hasExpired();
         QTest::qWait(100))
        seen = QString::fromUtf8(clipboard(QStringLiteral("UTF8_STRING"))).remove('\r');
    return seen;
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

// Whatever the command line, the window's outer frame, title bar and borders
// included, is at (50, 50), 208 by 257, with the form laid out from that
// outer corner.
void tst_Desktop::startsInPlace() {
    QFETCH(QStringList, args);
    QVERIFY(launch(args));
    QCOMPARE(x.outerFrame(window), home);
    const QImage screen = x.screenshot();
    const auto at = [&](int dx, int dy) { return screen.pixelColor(origin + QPoint(dx, dy)); };
    QCOMPARE(at(172, 29), olive); // the topmost field begins 30 pixels below the top
    QVERIFY(at(172, 30) != olive);
    QCOMPARE(at(172, 40), white);
    QCOMPARE(at(20, 40), olive); // captions end on the right
    QCOMPARE(at(36, 205), grey); // flat buttons
    closeAndCheck();
}

void tst_Desktop::noDisplay_data() {
    QTest::addColumn<QString>("display");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("unset") << QString()
                           << QByteArray("quorvel: cannot show the window: no display is set "
                                         "(DISPLAY is empty or unset)\n");
    QTest::newRow("empty") << QStringLiteral("")
                           << QByteArray("quorvel: cannot show the window: no display is set "
                                         "(DISPLAY is empty or unset)\n");
    QTest::newRow("none there") << QStringLiteral(":4095")
                                << QByteArray("quorvel: cannot show the window: the display "
                                              "\":4095\" could not be opened\n");
}

// With no display to show the window on, one line says why, and the program
// ends with status 1 rather than aborting.
void tst_Desktop::noDisplay() {
    if (wine())
        QSKIP("Wine needs a display of its own to start a window program at all");
    QFETCH(QString, display);
    QFETCH(QByteArray, message);
    QProcessEnvironment env = x.environment();
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("DISPLAY"));
    if (!display.isNull())
        env.insert(QStringLiteral("DISPLAY"), display);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUORVEL_BINARY), {});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(p.readAllStandardError(), message);
}

// Every case of the shared table in one run of the program, as a player
// would go through them: "Clear" turns the panel back to amber and leaves the
// keyboard in "Height of Obstacle", where the next case's first value is
// typed without a click; then the other fields, the box and "Calculate". The
// panel turns green or red with the verdict, or stays amber where a field
// does not parse.
void tst_Desktop::casesOnScreen() {
    const QList<Case> cases = sharedCases();
    QVERIFY(cases.size() > 20);
    QVERIFY(launch());
    for (const Case &c : cases) {
        x.click(origin + clearButton);
        QVERIFY(waitForPanel(amber, c.name + ", after Clear"));
        x.type(c.values[obstacleHeight]);
        for (int row : {0, 1, 3, 4})
            type(row, c.values[row]);
        if (c.crest)
            x.click(origin + crestBox);
        x.click(origin + calculate);
        if (c.verdict == QLatin1String("unchanged")) {
            QTest::qWait(300);
            QVERIFY(waitForPanel(amber, c.name));
        } else {
            QVERIFY(waitForPanel(c.verdict.endsWith(QLatin1String("(LOS OK)")) ? green : red,
                                 c.name + ": " + c.verdict));
        }
    }
    closeAndCheck();
}

// Tab goes through the fields, the box and the buttons in order, Space ticks
// the box and presses "Calculate"; afterwards a field that no longer parses
// leaves the verdict's colour as it was.
void tst_Desktop::keyboardAlone() {
    QVERIFY(launch());
    x.click(origin + QPoint(172, fieldTops[0] + 10));
    // 3, 9, 0, 2, 0 with the crest box ticked: "0 Blind Hexes  F>T (LOS OK)".
    for (const char *value : {"3", "9", "0", "2", "0"}) {
        x.type(QString::fromLatin1(value));
        x.key({"Tab"});
    }
    x.key({"space", "Tab", "space"});
    QVERIFY(waitForPanel(green, "after Calculate"));
    // A letter into the target's height, and "Calculate" again.
    x.key({"shift+Tab", "shift+Tab"});
    x.type(QStringLiteral("x"));
    x.key({"Tab", "Tab", "space"});
    QTest::qWait(300);
    QVERIFY(waitForPanel(green, "after Calculate with a letter"));
    closeAndCheck();
}

// Resting the pointer on a verdict shows its picture above its working, line
// by line, in the system's tooltip below it; on a fresh form and after
// "Clear" nothing shows there. The Windows program gives the working to
// Windows' annotation service as the verdict's description, for screen
// readers: Wine's stand-in for that service logs each call it gets, which is
// how the test sees it.
void tst_Desktop::workingOnHover() {
    QProcessEnvironment env = x.environment();
    if (wine())
        env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all,fixme+oleacc"));
    QVERIFY(launch({}, 1, env));
    QCOMPARE(hoverVerdict().rows, 0);
    QVERIFY(workedExample());
    // The picture, with the verdict's green in it, above six lines or more.
    const Tip tip = hoverVerdict();
    QVERIFY2(tip.green > 20, "no picture in the verdict's green in its tooltip");
    QVERIFY2(tip.rows > 5 * 11, "no tooltip of six lines below the picture");
    x.click(origin + clearButton);
    QVERIFY(waitForPanel(amber, QStringLiteral("after Clear")));
    QCOMPARE(hoverVerdict().rows, 0);
    x.closeWindow(title);
    QVERIFY(program.waitForFinished(5000));
    if (!wine())
        return;
    // Wine's log writes "\n" in a text as \n. The first lines are ASCII alone.
    const QString logged = QString::fromStdString(los::judge({2, 3, 1, 4, 0, false, {}}).working)
                               .section('\n', 0, 1)
                               .replace('\n', QStringLiteral("\\n"));
    const QString description = QStringLiteral("{4d48dfe4-bd3f-491f-a648-492d6f20c588} L\"");
    const QString log = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(log.contains(description + logged), qPrintable(log.right(2000)));
}

// "Copy" in the verdict's context menu, chosen with its key, puts the verdict
// and its working on the clipboard as plain text.
void tst_Desktop::copyFromContextMenu() {
    QVERIFY(launch());
    QVERIFY(workedExample());
    x.click(origin + verdictLine, 3);
    QTest::qWait(500);
    x.key({"c"});
    QCOMPARE(clipboardText(workedCopy), workedCopy);
    closeAndCheck();
}

void tst_Desktop::copyKey_data() {
    QTest::addColumn<bool>("verdict"); // the worked example calculated first
    QTest::addColumn<bool>("clear");   // then "Clear" pressed
    QTest::addColumn<int>("row");      // the field clicked before the keys
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("copied"); // empty: the clipboard as it was
    QTest::newRow("a field") << true << false << 0 << QStringList() << workedCopy;
    QTest::newRow("the box") << true << false << 4 << QStringList{"Tab"} << workedCopy;
    QTest::newRow("Calculate") << true << false << 4 << QStringList{"Tab", "Tab"} << workedCopy;
    QTest::newRow("a selection") << true << false << 1 << QStringList{"shift+Home"} << "3";
    QTest::newRow("no verdict") << false << false << 0 << QStringList() << QString();
    QTest::newRow("after Clear") << true << true << 0 << QStringList() << QString();
}

// Ctrl+C with no text selected copies the verdict as its "Copy" does, where
// the focus is; with text selected in a field, that text; with no verdict,
// nothing.
void tst_Desktop::copyKey() {
    QFETCH(bool, verdict);
    QFETCH(bool, clear);
    QFETCH(int, row);
    QFETCH(QStringList, keys);
    QFETCH(QString, copied);
    QVERIFY(launch());
    if (verdict)
        QVERIFY(workedExample());
    if (clear) {
        x.click(origin + clearButton);
        QVERIFY(waitForPanel(amber, QStringLiteral("after Clear")));
    }
    const QString before = QStringLiteral("what was on the clipboard");
    x.run("sh", {"-c", "printf '" + before + "' | xclip -i -selection clipboard"});
    QCOMPARE(clipboardText(before), before);
    type(row, {});
    x.key(keys << "ctrl+c");
    QTest::qWait(300);
    copied = copied.isEmpty() ? before : copied;
    QCOMPARE(clipboardText(copied), copied);
    closeAndCheck();
}

void tst_Desktop::picture_data() {
    QTest::addColumn<QString>("key");  // the item in the verdict's menu, or the window's key
    QTest::addColumn<QString>("name"); // typed in the save dialog, in a folder of the test's own
    QTest::addColumn<QString>("kind"); // what comes out; none: a message box says why
    const auto row = [](const char *tag, const char *key, const char *name, const char *kind) {
        QTest::newRow(tag) << QString(key) << QString(name) << QString(kind);
    };
    row("Copy Picture", "p", "", "png");
    row("Save as PNG", "s", "sighting.png", "png");
    row("Save as SVG", "s", "sighting.SVG", "svg");
    row("a missing folder", "s", "missing/sighting.png", "none");
    row("Ctrl+Shift+C", "ctrl+shift+c", "", "png");
    row("Ctrl+S", "ctrl+s", "sighting.svg", "svg");
}

// "Copy Picture" puts the sighting's image on the clipboard as PNG; "Save
// Picture…" saves it where its dialog says, as PNG or SVG by the name's
// extension, or writes nothing and says why in a message box. Their keys,
// pressed in a field, do the same.
void tst_Desktop::picture() {
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    QVERIFY(launch());
    QVERIFY(workedExample());
    if (key.contains('+')) {
        type(0, {});
    } else {
        x.click(origin + verdictLine, 3);
        QTest::qWait(500);
    }
    x.key({key});
    QByteArray bytes;
    if (name.isEmpty()) {
        QTRY_VERIFY(clipboard(QStringLiteral("TARGETS")).split('\n').contains("image/png"));
        bytes = clipboard(QStringLiteral("image/png"));
        // The bitmap that Windows programs paste, the same pixels.
        if (wine())
            QCOMPARE(QImage::fromData(clipboard(QStringLiteral("image/bmp")), "BMP")
                         .convertToFormat(QImage::Format_RGB32),
                     QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32));
    } else {
        QVERIFY2(x.focus(x.findWindow(QStringLiteral("Save Picture"))), "no dialog to save in");
        // Wine's dialog takes a Linux path on its drive Z:, with backslashes.
        x.type(wine() ? QStringLiteral("Z:") + QString(path).replace('/', '\\') : path);
        x.key({"Return"});
        QTRY_VERIFY(QFile::exists(path) || kind == "none");
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    }
    const platform::Picture picture = los::image(los::decide(worked));
    if (kind == "png") {
        // Twice the picture's pixels, framed to the corners, the band green.
        const QImage image = QImage::fromData(bytes, "PNG");
        QCOMPARE(image.size(), QSize(picture.width, picture.height) * 2);
        const platform::Color edge = picture.shapes.front().ink;
        QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1),
                 QColor(edge.red, edge.green, edge.blue));
        QCOMPARE(image.pixelColor(20, 2 * (los::viewHeight + 12)), green); // under the side view
    } else if (kind == "svg") {
        QXmlStreamReader xml(bytes);
        QVERIFY(xml.readNextStartElement() && xml.name() == QLatin1String("svg"));
        xml.skipCurrentElement();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(bytes, QByteArray::fromStdString(platform::svg(picture)));
    } else {
        const QString box = QStringLiteral("Picture Not Saved");
        QVERIFY2(x.focus(x.findWindow(box)), "no message that nothing was saved");
        x.key({"Return"});
        QTRY_VERIFY(x.findWindow(box, 0).isEmpty());
        QVERIFY(
            QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }
    closeAndCheck();
}

// While another Windows program holds the clipboard, Copy says so in a box
// and leaves the clipboard as it was.
void tst_Desktop::busyClipboard() {
    const QString holder = qEnvironmentVariable("QUORVEL_WINDOWS_HOLDER");
    if (!wine() || holder.isEmpty())
        QSKIP("for the Windows program, with a program that holds the clipboard");
    QVERIFY(launch());
    QVERIFY(workedExample());
    const QString before = QStringLiteral("what was on the clipboard");
    x.run("sh", {"-c", "printf '" + before + "' | xclip -i -selection clipboard"});
    QProcess hold;
    hold.setProcessEnvironment(x.environment());
    hold.start(QStringLiteral("wine"), {holder, "30"});
    QVERIFY(hold.waitForReadyRead(15000) && hold.readAll().startsWith("held"));
    x.click(origin + verdictLine, 3);
    QTest::qWait(500);
    x.key({"c"});
    QVERIFY2(x.focus(x.findWindow(QStringLiteral("Nothing Copied"))), "no message");
    x.key({"Return"});
    hold.kill();
    hold.waitForFinished(5000);
    QCOMPARE(clipboardText(before), before);
    closeAndCheck();
}

// Ctrl+L opens "Which Levels See" beside the form, never over it; there
// Ctrl+C copies the table as text and Ctrl+Shift+C its picture; it follows a
// new Calculate, and Escape closes it. Before a verdict Ctrl+L opens nothing.
void tst_Desktop::levelsWindow() {
    const QString title = QStringLiteral("Which Levels See");
    const auto textOf = [](const QStringList &values) {
        los::Typed typed;
        for (std::size_t i = 0; i < typed.texts.size(); ++i)
            typed.texts[i] = values[int(i)].toStdString();
        return QString::fromStdString(los::text(los::levelTable(*los::read(typed))));
    };
    QVERIFY(launch());
    x.key({"ctrl+l"});
    QTest::qWait(500);
    QVERIFY(x.findWindow(title, 0).isEmpty());
    QVERIFY(workedExample());
    x.key({"ctrl+l"});
    const QString levels = x.findWindow(title);
    QVERIFY2(!levels.isEmpty(), "no window opened");
    const QRect beside = x.outerFrame(levels), form = x.outerFrame(window);
    QVERIFY2(beside.left() > form.right() && beside.top() == form.top(),
             qPrintable(QStringLiteral("at %1, %2").arg(beside.left()).arg(beside.top())));
    QVERIFY(x.focus(levels));
    const QString workedText = textOf({"2", "3", "1", "4", "0"});
    x.key({"ctrl+c"});
    QCOMPARE(clipboardText(workedText), workedText);
    x.key({"ctrl+shift+c"});
    QTRY_VERIFY(clipboard(QStringLiteral("TARGETS")).split('\n').contains("image/png"));
    const platform::Picture picture = los::image(los::levelTable(worked));
    QCOMPARE(QImage::fromData(clipboard(QStringLiteral("image/png")), "PNG").size(),
             QSize(picture.width, picture.height) * platform::rasterScale(1));
    // The firer one level higher.
    x.click(origin + QPoint(172, fieldTops[0] + 10));
    x.key({"End", "BackSpace"});
    x.type(QStringLiteral("3"));
    x.click(origin + calculate);
    QVERIFY(x.focus(levels));
    const QString higher = textOf({"3", "3", "1", "4", "0"});
    x.key({"ctrl+c"});
    QCOMPARE(clipboardText(higher), higher);
    x.key({"Escape"});
    QTRY_VERIFY(x.findWindow(title, 0).isEmpty());
    closeAndCheck();
}

// At 192 dpi the Windows program's window is twice as large, and so is every
// component in it, and the verdict's picture in its tooltip. (The Linux
// program's scale is tested without a screen.)
void tst_Desktop::twiceAsLargeAt192Dpi() {
    if (!wine())
        QSKIP("for the Windows program");
    QVERIFY(launch());
    QVERIFY(workedExample());
    const Tip normalTip = hoverVerdict();
    QVERIFY2(normalTip.green > 20, "no picture in the verdict's green at 96 dpi");
    closeAndCheck();
    const auto setDpi = [&](int dpi) {
        return x.run("wine", {"reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
                              "REG_DWORD", "/d", QString::number(dpi), "/f"});
    };
    setDpi(192);
    const bool up = launch({}, 2);
    setDpi(96);
    QVERIFY(up);
    QCOMPARE(x.outerFrame(window).size(), home.size() * 2);
    const QImage screen = x.screenshot();
    const auto at = [&](int dx, int dy) { return screen.pixelColor(origin + 2 * QPoint(dx, dy)); };
    QCOMPARE(at(172, 29), olive);
    QCOMPARE(at(172, 40), white);
    QCOMPARE(at(20, 40), olive);
    QCOMPARE(at(36, 205), grey);
    QCOMPARE(at(12, 224), amber);
    QCOMPARE(at(195, 245), amber);
    QVERIFY(workedExample(2));
    const Tip tip = hoverVerdict(2);
    QVERIFY2(qAbs(tip.green - 4 * normalTip.green) <= normalTip.green / 4,
             qPrintable(QStringLiteral("%1 green pixels, against %2 at 96 dpi")
                            .arg(tip.green)
                            .arg(normalTip.green)));
    QCOMPARE(tip.box.size(), normalTip.box.size() * 2);
    closeAndCheck();
}

// The Windows program's Save Picture… in Wine's own dialog, one save after
// another: the type chosen in its list (Alt+T) is the kind saved, the
// proposed name taking its extension; a name's own extension picks the kind,
// and one of another kind has the chosen type's added. A No to a prompt, the
// dialog's own or the program's for a name it changed, opens the dialog
// again; a file that cannot be replaced is said in a box and left whole.
void tst_Desktop::saveDialogOnWindows() {
    if (!wine())
        QSKIP("for the Windows program");
    QTemporaryDir folder;
    const QDir in(folder.path());
    program.setWorkingDirectory(folder.path()); // where Wine's dialog opens
    const bool up = launch();
    program.setWorkingDirectory({});
    QVERIFY(up);
    QVERIFY(workedExample());
    const QByteArray svg =
        QByteArray::fromStdString(platform::svg(los::image(los::decide(worked))));
    const QByteArray old("what was there");
    const auto plant = [&](const QString &name) {
        QFile file(in.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(old) == old.size();
    };
    const auto bytes = [&](const QString &name) {
        QFile file(in.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    // Each dialog or prompt is a window of its own: the next one not seen yet,
    // with the keyboard.
    QStringList seen;
    const auto next = [&](const QString &title) {
        QString found;
        for (QDeadlineTimer deadline(10000); found.isEmpty() && !deadline.hasExpired();
             QTest::qWait(50))
            for (const QByteArray &id :
                 x.run("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"})
                     .split('\n'))
                if (!id.isEmpty() && !seen.contains(id))
                    found = QString::fromLatin1(id);
        seen << found;
        return !found.isEmpty() && x.focus(found) ? found : QString();
    };
    const auto save = [&](const QString &typed, bool svgChosen) {
        x.focus(window);
        x.key({"ctrl+s"});
        const QString dialog = next("Save Picture");
        if (!typed.isEmpty())
            x.type(typed);
        if (svgChosen)
            x.key({"alt+t", "Down"});
        x.key({"Return"});
        return dialog;
    };
    const struct {
        const char *typed; // nothing: the proposed name kept
        bool svg;          // SVG chosen in the type list
        const char *saved;
    } choices[] = {{"", true, "sighting 2,3,1,4,0.svg"},
                   {"chosen", true, "chosen.svg"},
                   {"own.PNG", true, "own.PNG"},
                   {"other.jpg", false, "other.jpg.png"}};
    for (const auto &choice : choices) {
        QVERIFY2(!save(choice.typed, choice.svg).isEmpty(), choice.saved);
        QTRY_VERIFY2(bytes(choice.saved).size() > 100, choice.saved);
        if (QString(choice.saved).endsWith(".svg"))
            QCOMPARE(bytes(choice.saved), svg);
        else
            QVERIFY2(bytes(choice.saved).startsWith("\x89PNG"), choice.saved);
    }
    QCOMPARE(in.entryList(QDir::Files).size(), int(std::size(choices)));

    // No to the dialog's own prompt, then another name in the same dialog;
    // no to the program's, for the name it gave an extension, then another in
    // the dialog it opens again.
    QVERIFY(plant("own.PNG") && plant("other.jpg.png"));
    const QString dialog = save("own.PNG", false);
    QVERIFY(!next("Save Picture").isEmpty());
    x.key({"n"});
    QVERIFY(x.focus(dialog));
    x.key({"End", "shift+Home"});
    x.type("again");
    x.key({"Return"});
    QTRY_VERIFY(bytes("again.png").startsWith("\x89PNG"));
    save("other.jpg", false);
    QVERIFY(!next("Save Picture").isEmpty());
    x.key({"n"});
    QVERIFY(!next("Save Picture").isEmpty());
    x.type("third");
    x.key({"Return"});
    QTRY_VERIFY(bytes("third.png").startsWith("\x89PNG"));
    QCOMPARE(bytes("own.PNG"), old);
    QCOMPARE(bytes("other.jpg.png"), old);

    // A file another program has open: yes to replacing it, and a box says
    // it could not be.
    const QString holder = qEnvironmentVariable("QUORVEL_WINDOWS_HOLDER");
    QVERIFY(plant("locked.png") && !holder.isEmpty());
    QProcess hold;
    hold.setProcessEnvironment(x.environment());
    hold.start(QStringLiteral("wine"),
               {holder, "60", "Z:" + in.filePath("locked.png").replace('/', '\\')});
    QVERIFY(hold.waitForReadyRead(15000) && hold.readAll().startsWith("held"));
    save("locked.png", false);
    QVERIFY(!next("Save Picture").isEmpty());
    x.key({"y"});
    QVERIFY2(!next("Picture Not Saved").isEmpty(), "no box when the file cannot be replaced");
    x.key({"Return"});
    hold.kill();
    hold.waitForFinished(5000);
    QCOMPARE(bytes("locked.png"), old);
    QCOMPARE(in.entryList({"*.tmp"}, QDir::Files | QDir::Hidden), QStringList());
    closeAndCheck();
}

// The Windows program's table of which levels see, from the verdict's menu:
// beside the form with its top, its ListView's cells in the verdicts' own
// green and red, and its text on the clipboard with Ctrl+C; Save Picture… in it saves the table it
// showed, however the form changes while its dialog is up.
void tst_Desktop::levelsListOnWindows() {
    if (!wine())
        QSKIP("for the Windows program");
    QTemporaryDir folder;
    QVERIFY(launch());
    QVERIFY(workedExample());
    x.click(origin + verdictLine, 3);
    QTest::qWait(500);
    x.key({"l"});
    const QString table = x.findWindow(QStringLiteral("Which Levels See"), 10000);
    QVERIFY2(!table.isEmpty(), "no window Which Levels See");
    const QRect form = x.outerFrame(window), beside = x.outerFrame(table);
    QCOMPARE(beside.top(), form.top());
    QVERIFY2(
        beside.left() > form.right() && beside.left() < form.right() + 20,
        qPrintable(
            QStringLiteral("at %1, the form ends at %2").arg(beside.left()).arg(form.right())));
    // Row by row, each cell in the verdict's own colour: the first line of
    // pixels below each grid line, read as its runs of green and red.
    const los::LevelTable levels = los::levelTable(worked);
    QStringList expected, seen;
    for (std::size_t row = 0; row < levels.firers.size(); ++row) {
        expected << QString();
        for (std::size_t column = 0; column < levels.targets.size(); ++column)
            expected.back() += levels.at(row, column).seen ? 'G' : 'R';
    }
    QTest::qWait(300);
    // Below the title bar; on this small screen the columns on the right are
    // off it.
    const QImage screen = x.screenshot();
    const QImage shot =
        screen.copy(beside.adjusted(0, 30, 0, 0).intersected(QRect({}, screen.size())));
    QString above;
    for (int y = 0; y < shot.height(); ++y) {
        QString runs;
        for (int column = 0; column < shot.width(); ++column) {
            const QColor c = shot.pixelColor(column, y);
            const QChar kind = c == green ? 'G' : c == red ? 'R' : ' ';
            if (kind != ' ' && (column == 0 || shot.pixelColor(column - 1, y) != c))
                runs += kind;
        }
        if (above.isEmpty() && !runs.isEmpty())
            seen << runs;
        above = runs;
    }
    const qsizetype shown = seen.value(0).size();
    for (QString &row : expected)
        row.truncate(shown);
    QVERIFY(shown >= 5);
    QCOMPARE(seen, expected);
    const QString text = QString::fromStdString(los::text(levels));
    x.key({"ctrl+c"});
    QCOMPARE(clipboardText(text), text);

    x.key({"alt+s"});
    const QString dialog = x.findWindow(QStringLiteral("Save Picture"), 10000);
    QVERIFY2(x.focus(dialog), "no dialog to save in");
    x.click(origin + clearButton);
    QVERIFY(waitForPanel(amber, QStringLiteral("Clear with the dialog up")));
    // Back to the dialog, as a player would: a click on its title bar.
    x.click(x.outerFrame(dialog).topLeft() + QPoint(60, 10));
    const QString path = folder.filePath("levels.png");
    x.type(QStringLiteral("Z:") + QString(path).replace('/', '\\'));
    x.key({"Return"});
    QTRY_VERIFY(QFile::exists(path));
    const platform::Picture picture = los::image(levels);
    QTRY_COMPARE(QImage(path).size(), QSize(picture.width, picture.height) * 2);
    // Escape closes the table's window, and the form has the keyboard again.
    x.key({"Escape"});
    closeAndCheck();
}

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
