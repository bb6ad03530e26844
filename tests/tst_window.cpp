#include "platform/qt/look.h"
#include "platform/qt/menu.h"
#include "support/form_driver.h"
#include "support/screen_colours.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>

// The form as built: every component's place, text and font, the colours on
// screen, the focus order, and the window's own place, size and title.
class tst_Window : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { platform::qt::installStyle(); }
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
};

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
}

void tst_Window::savedAs() {
    QFETCH(QString, chosen);
    QFETCH(bool, svgFilter);
    QFETCH(QString, path);
    QFETCH(bool, svg);
    QCOMPARE(platform::qt::saveAs(chosen, svgFilter), (platform::qt::SaveAs{path, svg}));
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"
