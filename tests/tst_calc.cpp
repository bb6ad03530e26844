#include "platform/look.h"
#include "support/form_driver.h"
#include "support/screen_colours.h"

// The calculation and the reset, through the window: what a player types,
// the verdict line and the colour painted behind it.
class tst_Calc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { platform::installStyle(); }
    void verdict_data();
    void verdict();
    void unparsableLeavesResult_data();
    void unparsableLeavesResult();
    void clear_data();
    void clear();
};

void tst_Calc::verdict_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("crest");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, QStringList values, bool crest, const char *text) {
        QTest::newRow(name) << values << crest << QString::fromLatin1(text);
    };
    // The rule's worked examples.
    row("firer higher", {"2", "3", "1", "4", "0"}, false, "1 Blind Hexes  F>T (LOS OK)");
    row("target higher", {"0", "4", "1", "6", "3"}, false, "1 Blind Hexes  T>F (LOS OK)");
    row("far within blind", {"3", "10", "2", "2", "0"}, false, "4 Blind Hexes  F>T (No LOS)");
    row("crest raised to 0", {"3", "9", "0", "2", "0"}, true, "0 Blind Hexes  F>T (LOS OK)");
    row("plain raised to 1", {"3", "9", "0", "2", "0"}, false, "1 Blind Hexes  F>T (LOS OK)");
    row("obstacle above both", {"1", "5", "3", "5", "2"}, false, "LOS Blocked");
    row("level with firer", {"2", "5", "2", "5", "1"}, false, "LOS Blocked");
    row("level with target", {"1", "5", "2", "5", "2"}, true, "LOS Blocked");
    row("all level", {"2", "5", "2", "5", "2"}, false, "2 Blind Hexes  F>T (LOS OK)");
    row("fractions truncated", {"2.9", "9.9", "1.5", "2", "0.5"}, false,
        "2 Blind Hexes  F>T (No LOS)");
    row("fractions tie", {"1.2", "0", "1.5", "0", "1.7"}, false, "1 Blind Hexes  F>T (No LOS)");
    row("negative range", {"3", "-3", "2", "2", "0"}, false, "2 Blind Hexes  F>T (No LOS)");
    // Edges of the rule.
    row("fractions block", {"1.2", "5", "1.5", "5", "1.4"}, false, "LOS Blocked");
    row("equal integer heights", {"3.2", "12", "1", "2", "3.9"}, false,
        "1 Blind Hexes  F>T (LOS OK)");
    row("crest bound at 0", {"9", "0", "0", "0", "0"}, true, "0 Blind Hexes  F>T (No LOS)");
    row("crest bound, far 1", {"9", "0", "0", "1", "0"}, true, "0 Blind Hexes  F>T (LOS OK)");
    row("far equals count", {"3", "10", "2", "4", "0"}, false, "4 Blind Hexes  F>T (No LOS)");
    row("far one more", {"3", "10", "2", "5", "0"}, false, "4 Blind Hexes  F>T (LOS OK)");
    row("huge firer", {"3e9", "1", "0", "1", "0"}, false, "1 Blind Hexes  T>F (No LOS)");
    row("Infinity firer", {"Infinity", "1", "0", "1", "0"}, false, "1 Blind Hexes  T>F (No LOS)");
    row("NaN obstacle", {"1", "5", "NaN", "5", "1"}, false, "1 Blind Hexes  F>T (LOS OK)");
    row("-7 / 5 is -1", {"3", "-7", "2", "9", "0"}, false, "1 Blind Hexes  F>T (LOS OK)");
    row("plain bound, far 1", {"9", "0", "0", "1", "0"}, false, "1 Blind Hexes  F>T (No LOS)");
    // 32-bit arithmetic that wraps, as the rule has always counted.
    row("NaN target", {"5", "1", "0", "10", "NaN"}, false, "2147483644 Blind Hexes  F>T (No LOS)");
    row("wraps negative, raised", {"2.1e9", "0", "2e9", "9", "-2e9"}, false,
        "1 Blind Hexes  F>T (LOS OK)");
    row("wraps positive", {"2e9", "0", "-2e9", "9", "2e9"}, false,
        "589934593 Blind Hexes  F>T (No LOS)");
    row("blanks and exponent", {" 2 ", "3e0", "1", "4", "-0"}, false,
        "1 Blind Hexes  F>T (LOS OK)");
}

void tst_Calc::verdict() {
    QFETCH(QStringList, values);
    QFETCH(bool, crest);
    QFETCH(QString, text);

    FormDriver driver;
    QVERIFY(driver.ok);
    driver.enter(values, crest);
    driver.form.calc();

    QCOMPARE(driver.form.l_result->text(), text);
    const QColor colour = text.endsWith(QLatin1String("(LOS OK)")) ? green : red;
    QCOMPARE(driver.panelColor(), colour);
    QCOMPARE(driver.labelColor(), colour);
    // The fields keep what was typed, fractions and all.
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(driver.form.fields()[i]->text(), values[i]);
    QCOMPARE(driver.form.cb_c->isChecked(), crest);
}

void tst_Calc::unparsableLeavesResult_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("bad");

    // A fresh form, a green verdict, and heights that alone would block.
    const QStringList fresh, seen{"2", "3", "1", "4", "0"}, blocking{"1", "5", "3", "5", "2"};
    for (int field = 0; field < 5; ++field) {
        QTest::addRow("empty field %d, fresh", field) << fresh << field << QString();
        QTest::addRow("empty field %d after a verdict", field) << seen << field << QString();
        QTest::addRow("abc in field %d, blocking heights", field) << blocking << field << "abc";
    }
    QTest::newRow("comma decimal") << seen << 3 << "2,5";
    QTest::newRow("only blanks") << seen << 0 << "   ";
}

void tst_Calc::unparsableLeavesResult() {
    QFETCH(QStringList, before);
    QFETCH(int, field);
    QFETCH(QString, bad);

    FormDriver driver;
    QVERIFY(driver.ok);
    QStringList values = before.isEmpty() ? QStringList{"1", "5", "3", "5", "2"} : before;
    if (!before.isEmpty()) {
        driver.enter(before, false);
        driver.form.calc();
    }
    const QString text = driver.form.l_result->text();
    const QColor panel = driver.panelColor(), label = driver.labelColor();

    values[field] = bad;
    driver.enter(values, false);
    driver.form.calc();

    QCOMPARE(driver.form.l_result->text(), text);
    QCOMPARE(driver.panelColor(), panel);
    QCOMPARE(driver.labelColor(), label);
}

void tst_Calc::clear_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("crest");

    QTest::newRow("after green, ticked") << QStringList{"3", "9", "0", "2", "0"} << true;
    QTest::newRow("after green, unticked") << QStringList{"2", "3", "1", "4", "0"} << false;
    QTest::newRow("after blocked, ticked") << QStringList{"1", "5", "2", "5", "2"} << true;
    QTest::newRow("after No LOS, unticked") << QStringList{"3", "10", "2", "2", "0"} << false;
    QTest::newRow("already clear") << QStringList() << false;
}

void tst_Calc::clear() {
    QFETCH(QStringList, values);
    QFETCH(bool, crest);

    FormDriver driver;
    QVERIFY(driver.ok);
    QuorvelTestAccess &form = driver.form;
    if (!values.isEmpty()) {
        driver.enter(values, crest);
        form.calc();
        QVERIFY(driver.panelColor() != amber);
    }
    form.tf_rt->setFocus();
    form.clear();

    for (QLineEdit *field : form.fields())
        QVERIFY(field->text().isEmpty());
    QVERIFY(!form.cb_c->isChecked());
    QVERIFY(form.l_result->text().isEmpty());
    QCOMPARE(driver.panelColor(), amber);
    QCOMPARE(driver.labelColor(), amber);
    QCOMPARE(QApplication::focusWidget(), form.tf_hf);

    // A calculation on the cleared form fails at the empty first field.
    form.calc();
    QVERIFY(form.l_result->text().isEmpty());
    QCOMPARE(driver.panelColor(), amber);
}

QTEST_MAIN(tst_Calc)
#include "tst_calc.moc"
