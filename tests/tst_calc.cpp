#include "platform/qt/look.h"
#include "support/form_driver.h"
#include "support/screen_colours.h"

// The calculation and the reset, through the window: what a player types,
// the verdict line and the colour painted behind it.
class tst_Calc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { platform::qt::installStyle(); }
    void verdict_data();
    void verdict();
    void unparsableLeavesResult_data();
    void unparsableLeavesResult();
    void clear_data();
    void clear();
};

// Every case of the shared table, typed into the window.
void tst_Calc::verdict_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("crest");
    QTest::addColumn<QString>("text");
    const QList<Case> cases = sharedCases();
    QVERIFY(cases.size() > 20);
    for (const Case &c : cases)
        QTest::newRow(qPrintable(c.name)) << c.values << c.crest << c.verdict;
}

void tst_Calc::verdict() {
    QFETCH(QStringList, values);
    QFETCH(bool, crest);
    QFETCH(QString, text);

    FormDriver driver;
    QVERIFY(driver.ok);
    driver.enter(values, crest);
    driver.form.calc();

    const bool unchanged = text == QLatin1String("unchanged");
    QCOMPARE(driver.form.l_result->text(), unchanged ? QString() : text);
    const QColor colour = unchanged                                  ? amber
                          : text.endsWith(QLatin1String("(LOS OK)")) ? green
                                                                     : red;
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
