#include "los/image.h"
#include "los/levels.h"
#include "los/working.h"
#include "platform/qt/look.h"
#include "platform/qt/menu.h"
#include "platform/svg.h"
#include "support/form_driver.h"
#include "support/screen_colours.h"

#include <QAccessible>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

// The form as built: every component's place, text and font, the colours on
// screen, the focus order, and the window's own place, size and title; what
// the verdict hands out from its menu and the window's keys; and the window
// "Which Levels See".
class tst_Window : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void components_data();
    void components();
    void colours_data();
    void colours();
    void focusOrder();
    void placeAndTitle();
    void titleConstructor();
    void resizingMovesNothing();
    void accessibleNames();
    void savedAs_data();
    void savedAs();
    void keys_data();
    void keys();
    void levels_data();
    void levels();
    void savePicture_data();
    void savePicture();

private:
    // Where the save dialog opens: the home folder, for there are no pictures.
    QTemporaryDir home;
};

namespace {
const QStringList worked{"2", "3", "1", "4", "0"};

los::Typed typed(const QStringList &values, bool crest) {
    los::Typed t{{}, crest};
    for (std::size_t i = 0; i < t.texts.size(); ++i)
        t.texts[i] = values.value(int(i)).toStdString();
    return t;
}
} // namespace

void tst_Window::initTestCase() {
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(".config").toUtf8());
    platform::qt::installStyle();
}

void tst_Window::components_data() {
    QTest::addColumn<QByteArray>("parent");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fontStyle");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("alignment");

    using platform::Font;
    const int none = 0, right = int(Qt::AlignRight | Qt::AlignVCenter);
    const auto row = [](const char *name, const char *parent, QRect bounds, const char *text,
                        int style, int size, int alignment) {
        QTest::newRow(name) << QByteArray(parent) << bounds << QString::fromLatin1(text) << style
                            << size << alignment;
    };
    row("tf_hf", "window", {152, 30, 40, 20}, "", Font::Plain, 11, none);
    row("tf_ro", "window", {152, 54, 40, 20}, "", Font::Plain, 11, none);
    row("tf_ho", "window", {152, 79, 40, 20}, "", Font::Plain, 11, none);
    row("tf_rt", "window", {152, 102, 40, 20}, "", Font::Plain, 11, none);
    row("tf_ht", "window", {152, 129, 40, 20}, "", Font::Plain, 11, none);
    row("cb_c", "window", {139, 163, 16, 16}, "checkbox", Font::Plain, 11, none);
    row("b_calc", "window", {32, 195, 68, 20}, "Calculate", Font::Bold, 11, none);
    row("b_clear", "window", {108, 195, 68, 20}, "Clear", Font::Plain, 11, none);
    row("l_0", "window", {45, 82, 103, 14}, "Height of Obstacle", Font::Plain, 11, right);
    row("l_1", "window", {16, 34, 132, 14}, "Height of Firer", Font::Plain, 11, right);
    row("l_2", "window", {16, 131, 132, 14}, "Height of Target", Font::Plain, 11, right);
    row("l_3", "window", {16, 58, 132, 14}, "Range of Firer to Obstacle", Font::BoldItalic, 10,
        right);
    row("l_4", "window", {12, 106, 136, 14}, "Range of Obstacle to Target", Font::BoldItalic, 10,
        right);
    row("l_5", "window", {31, 159, 103, 12}, "Obstacle is a", Font::Plain, 11, right);
    row("l_6", "window", {31, 172, 103, 12}, "non-Cliff Crest Line", Font::Plain, 11, right);
    row("p_result", "window", {10, 222, 189, 27}, "", Font::Plain, 11, none);
    row("l_result", "p_result", {5, 6, 180, 14}, "", Font::Bold, 11, int(Qt::AlignCenter));
}

void tst_Window::components() {
    QFETCH(QByteArray, parent);
    QFETCH(QRect, bounds);
    QFETCH(QString, text);
    QFETCH(int, fontStyle);
    QFETCH(int, fontSize);
    QFETCH(int, alignment);

    Quorvel window;
    const QuorvelTestAccess form(window);
    QCOMPARE(form.components().size(), 17);
    QWidget *w = form.component(QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), parent == "window" ? form.top : form.component(parent));
    // No window manager here: outer-frame and inner coordinates coincide.
    QCOMPARE(form.top->insets(), QMargins());
    QCOMPARE(w->geometry(), bounds);

    QString shown;
    if (auto *field = qobject_cast<QLineEdit *>(w))
        shown = field->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        shown = button->text();
    else if (auto *label = qobject_cast<QLabel *>(w))
        shown = label->text();
    QCOMPARE(shown, text); // a fresh form: empty fields and no verdict
    QVERIFY(!form.cb_c->isChecked());
    QVERIFY(!form.top->isVisible());

    const QFontInfo font(w->font());
    QCOMPARE(font.family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(font.pixelSize(), fontSize);
    QCOMPARE(font.bold(), bool(fontStyle & platform::Font::Bold));
    QCOMPARE(font.italic(), bool(fontStyle & platform::Font::Italic));

    if (auto *label = qobject_cast<QLabel *>(w)) {
        QCOMPARE(int(label->alignment()), alignment);
        if (!text.isEmpty()) // every caption fits its bounds
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(text) <= bounds.width(),
                     qPrintable(text));
    }
}

void tst_Window::colours_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("window corner") << QPoint(2, 2) << olive;
    QTest::newRow("beside a caption") << QPoint(20, 40) << olive;
    QTest::newRow("between fields") << QPoint(170, 52) << olive;
    for (int y : {30, 54, 79, 102, 129})
        QTest::addRow("field at %d", y) << QPoint(186, y + 10) << white;
    QTest::newRow("checkbox edge") << QPoint(154, 165) << white;
    QTest::newRow("Calculate, top") << QPoint(36, 197) << grey;
    QTest::newRow("Calculate, bottom") << QPoint(36, 212) << grey;
    QTest::newRow("Clear, top") << QPoint(112, 197) << grey;
    QTest::newRow("Clear, bottom") << QPoint(172, 212) << grey;
    QTest::newRow("result panel") << QPoint(12, 224) << amber;
    QTest::newRow("result line") << QPoint(100, 232) << amber;
    QTest::newRow("below the panel") << QPoint(100, 252) << olive;
}

void tst_Window::colours() {
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);
    FormDriver driver;
    QVERIFY(driver.ok);
    QCOMPARE(driver.pixel(at), colour);
}

void tst_Window::focusOrder() {
    FormDriver driver;
    QVERIFY(driver.ok);
    const QuorvelTestAccess &form = driver.form;
    form.tf_hf->setFocus();
    const QList<QWidget *> expected = {form.tf_ro, form.tf_ho,  form.tf_rt,   form.tf_ht,
                                       form.cb_c,  form.b_calc, form.b_clear, form.tf_hf};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void tst_Window::placeAndTitle() {
    FormDriver driver;
    QVERIFY(driver.ok);
    QWidget &window = driver.top;
    QCOMPARE(window.windowTitle(), QStringLiteral("Quorvel v1.2"));
    QCOMPARE(window.frameGeometry(), QRect(50, 50, 208, 257));
    // Shown, the window is decorated; its children sit at their outer-frame
    // places less the decoration.
    const QMargins insets = driver.top.insets();
    QVERIFY(!insets.isNull());
    QCOMPARE(driver.form.tf_hf->pos() + QPoint(insets.left(), insets.top()), QPoint(152, 30));
    // Hiding keeps the place; showing again puts the window back.
    driver.window.setVisible(false);
    window.move(120, 90);
    QCOMPARE(window.pos(), QPoint(120, 90));
    driver.window.setVisible(true);
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(50, 50));
}

void tst_Window::titleConstructor() {
    Quorvel plain;
    Quorvel titled("Crest at hex 4");
    const QuorvelTestAccess a(plain), b(titled);
    QCOMPARE(b.top->windowTitle(), QStringLiteral("Crest at hex 4"));
    QVERIFY(!b.top->isVisible());
    QCOMPARE(b.top->size(), a.top->size());
    for (int i = 0; i < 17; ++i) {
        QCOMPARE(b.components()[i].second->geometry(), a.components()[i].second->geometry());
        QCOMPARE(b.components()[i].second->font(), a.components()[i].second->font());
    }
}

void tst_Window::resizingMovesNothing() {
    FormDriver driver;
    QVERIFY(driver.ok);
    QList<QRect> before;
    for (const auto &c : driver.form.components())
        before.append(c.second->geometry());
    driver.top.resize(400, 420);
    QTest::qWait(10);
    for (int i = 0; i < before.size(); ++i)
        QCOMPARE(driver.form.components()[i].second->geometry(), before[i]);
}

void tst_Window::accessibleNames() {
    FormDriver driver;
    QVERIFY(driver.ok);
    const QuorvelTestAccess &form = driver.form;
    const auto name = [](QWidget *w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    };
    const QStringList captions = {"Height of Firer", "Range of Firer to Obstacle",
                                  "Height of Obstacle", "Range of Obstacle to Target",
                                  "Height of Target"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(name(form.fields()[i]), captions[i]);
    QCOMPARE(name(form.cb_c), QStringLiteral("Obstacle is a non-Cliff Crest Line"));
    QCOMPARE(form.cb_c->text(), QStringLiteral("checkbox")); // the box itself is as built

    driver.enter({"1", "5", "3", "5", "2"}, false);
    form.b_calc->click();
    QCOMPARE(name(form.l_result), QStringLiteral("LOS Blocked"));
    form.b_clear->click();
    QCOMPARE(name(form.l_result), QString());
}

// The name chosen in "Save Picture…" and the filter chosen beside it: the
// file that is written, and whether as SVG.
void tst_Window::savedAs_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("svgFilter");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("svg");
    QTest::newRow("capitals") << "/p/a.SVG" << false << "/p/a.SVG" << true;
    QTest::newRow("mixed") << "/p/a.Png" << true << "/p/a.Png" << false;
    QTest::newRow("none") << "/p/a" << true << "/p/a.svg" << true;
    QTest::newRow("a decimal point") << "/p/a 2.5" << false << "/p/a 2.5.png" << false;
    QTest::newRow("another format") << "/p/a.jpeg" << true << "/p/a.jpeg.svg" << true;
    // A dialog that leaves the proposed name as it was when another type is
    // chosen: the extension follows the type.
    QTest::newRow("proposed, SVG") << "/p/s 2.5.png" << true << "/p/s 2.5.svg" << true;
    QTest::newRow("proposed, PNG") << "/p/s 2.5.png" << false << "/p/s 2.5.png" << false;
}

void tst_Window::savedAs() {
    QFETCH(QString, chosen);
    QFETCH(bool, svgFilter);
    QFETCH(QString, path);
    QFETCH(bool, svg);
    const QString proposed = QStringLiteral("/p/s 2.5.png");
    QCOMPARE(platform::qt::saveAs(chosen, svgFilter, proposed), (platform::qt::SaveAs{path, svg}));
}

void tst_Window::keys_data() {
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("item"); // of the verdict's menu, which shows the key
    QTest::addColumn<QString>("state");
    const std::pair<const char *, const char *> keys[] = {{"Ctrl+C", "Copy"},
                                                          {"Ctrl+Ins", "Copy"},
                                                          {"Ctrl+Shift+C", "Copy Picture"},
                                                          {"Ctrl+S", "Save Picture\u2026"},
                                                          {"Ctrl+L", "Which Levels See\u2026"}};
    for (const char *state : {"a verdict", "no verdict", "after Clear"})
        for (const auto &[key, item] : keys)
            QTest::addRow("%s, %s", key, state) << QKeySequence(key) << item << state;
}

// Each key, pressed in a field with nothing selected, does what its item in
// the verdict's menu does (what each item does is tested with the item);
// with no verdict, nothing.
void tst_Window::keys() {
    QFETCH(QKeySequence, key);
    QFETCH(QString, item);
    QFETCH(QString, state);
    FormDriver driver;
    QVERIFY(driver.ok);
    driver.enter(worked, false);
    if (state != "no verdict")
        driver.form.calc();
    if (state == "after Clear")
        driver.form.clear();
    QAction *action = named(driver.form.l_result->actions(), item);
    QVERIFY(action->shortcuts().contains(key));
    const QSignalSpy done(action, &QAction::triggered);
    const Answers answers({"Cancel"}); // a save dialog
    QTest::keySequence(QApplication::focusWidget(), key);
    QCOMPARE(done.size(), state == "a verdict" ? 1 : 0);
}

void tst_Window::levels_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("crest");
    QTest::addColumn<bool>("byKey"); // Ctrl+L, else the verdict's menu
    QTest::newRow("worked example, Ctrl+L") << worked << false << true;
    QTest::newRow("crest line, the menu") << QStringList{"3", "9", "0", "2", "0"} << true << false;
    QTest::newRow("13 levels, Ctrl+L") << QStringList{"0", "10", "10", "10", "0"} << false << true;
    QTest::newRow("no table, the menu") << QStringList{"2", "3", "NaN", "4", "0"} << false << false;
}

// The window shows the shared table cell by cell, whole, not modal, the
// keyboard in it; it follows Clear and Calculate; Ctrl+C copies the table's
// text; Escape closes it; opened again, it is the one window, where it was.
void tst_Window::levels() {
    QFETCH(QStringList, values);
    QFETCH(bool, crest);
    QFETCH(bool, byKey);
    FormDriver driver;
    QVERIFY(driver.ok);
    const auto open = [&] {
        QApplication::setActiveWindow(&driver.top);
        if (byKey)
            QTest::keyClick(driver.form.tf_hf, Qt::Key_L, Qt::ControlModifier);
        else
            named(driver.form.l_result->actions(), "Which Levels See\u2026")->trigger();
        return levelsWindow() && QTest::qWaitForWindowActive(levelsWindow());
    };
    const los::Typed t = typed(values, crest);
    const los::LevelTable table = los::levelTable(*los::read(t));
    QWidget *window = nullptr;
    for (const bool cleared : {false, true, false}) {
        driver.enter(values, crest);
        driver.form.calc();
        if (cleared)
            driver.form.clear();
        const bool opening = !window;
        if (opening && (!open() || (window = levelsWindow())->windowModality() != Qt::NonModal))
            QFAIL("no window, or a modal one");
        auto *view = window->findChild<QTableView *>();
        const QAbstractItemModel *model = view->model();
        const bool empty = cleared || table.empty();
        QCOMPARE(model->rowCount() * model->columnCount(), empty ? 0 : int(table.cells.size()));
        QCOMPARE(view->isVisible(), !empty);
        if (opening)
            QCOMPARE(QApplication::focusWidget() == view, !empty);
        QCOMPARE(named(window->findChildren<QAbstractButton *>(), "Copy")->isEnabled(), !empty);
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex at = model->index(row, column);
                const los::LevelCell &cell = table.at(row, column);
                const bool marked = table.marked(row, column);
                const QString words = QString::fromStdString(los::words(cell));
                QCOMPARE(at.data().toString(), marked ? words + '*' : words);
                QCOMPARE(at.data(Qt::AccessibleTextRole).toString(),
                         marked ? words + ", the sighting on the form" : words);
                QCOMPARE(at.data(Qt::BackgroundRole).value<QColor>(),
                         cell.blocked || !cell.seen ? red : green);
                QCOMPARE(at.data(Qt::FontRole).value<QFont>().bold(), marked);
            }
        // Each level read with what it is.
        if (!empty)
            QCOMPARE(model->headerData(0, Qt::Vertical, Qt::AccessibleTextRole).toString() + ", " +
                         model->headerData(0, Qt::Horizontal, Qt::AccessibleTextRole).toString(),
                     QString::fromStdString("Firer " + los::number(table.firers[0]) + ", Target " +
                                            los::number(table.targets[0])));
        // The whole table in view.
        QCOMPARE(view->horizontalScrollBar()->maximum() + view->verticalScrollBar()->maximum(), 0);
        QGuiApplication::clipboard()->setText("before");
        QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 empty ? "before" : QString::fromStdString(los::text(table)));
    }
    const QPoint place = window->pos();
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QVERIFY(open());
    QCOMPARE(levelsWindow(), window);
    QCOMPARE(window->pos(), place);
}

void tst_Window::savePicture_data() {
    QTest::addColumn<bool>("levels"); // from the table's window, else the verdict's menu
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("proposed"); // by each save dialog
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind"); // "png", "svg", or "old": the file that was there
    const QString sighting = "sighting 2,3,1,4,0.png", longest = QString(251, 'x') + ".png";
    QTest::newRow("the table as SVG by its type, the form cleared meanwhile")
        << true << QStringList{"meanwhile; choose SVG; Save"} << QStringList{"levels 3,1,4.png"}
        << "levels 3,1,4.svg"
        << "svg";
    QTest::newRow("as proposed") << false << QStringList{"Save"} << QStringList{sighting}
                                 << sighting << "png";
    QTest::newRow("No to replacing asks again")
        << false << QStringList{"name a 2.5; Save", "No", "name b; Save"}
        << QStringList{sighting, "a 2.5.png"} << "b.png"
        << "png";
    QTest::newRow("a failed replace leaves the old file whole")
        << false << QStringList{"name " + longest + "; Save", "Yes", "OK"} << QStringList{sighting}
        << longest << "old";
}

// "Save Picture…" writes the image asked for, as the name or the type
// chosen says, whatever happens in the form meanwhile, or nothing.
void tst_Window::savePicture() {
    QFETCH(bool, levels);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, proposed);
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QDir folder(home.path());
    const auto contents = [&](const QString &name) {
        QFile f(folder.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QStringList there{"a 2.5.png", QString(251, 'x') + ".png"};
    for (const QString &name : folder.entryList(QDir::Files))
        QVERIFY(folder.remove(name));
    for (const QString &name : there) {
        QFile old(folder.filePath(name));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    }
    FormDriver driver;
    QVERIFY(driver.ok);
    driver.enter(worked, false);
    driver.form.calc();
    Answers answer(answers, [&] {
        driver.form.clear();
        levelsWindow()->hide();
    });
    if (levels) {
        named(driver.form.l_result->actions(), "Which Levels See\u2026")->trigger();
        named(levelsWindow()->findChildren<QAbstractButton *>(), "Save Picture\u2026")->click();
    } else {
        named(driver.form.l_result->actions(), "Save Picture\u2026")->trigger();
    }
    QCOMPARE(answer.proposed, proposed);
    QCOMPARE(answer.answered, answers.size());
    const los::Typed t = typed(worked, false);
    const platform::Picture picture = levels ? los::image(los::levelTable(*los::read(t)))
                                             : los::image(los::decide(*los::read(t)));
    if (kind == "svg")
        QCOMPARE(contents(file), QByteArray::fromStdString(platform::svg(picture)));
    else if (kind == "png")
        QCOMPARE(QImage::fromData(contents(file)).size(), QSize(picture.width, picture.height) * 2);
    for (const QString &name : there)
        if (name != file || kind == "old")
            QCOMPARE(contents(name), QByteArray("old"));
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"
