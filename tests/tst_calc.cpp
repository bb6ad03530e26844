#include "platform/qt/look.h"
#include "support/form_driver.h"
#include "support/screen_colours.h"

#include <QAccessible>
#include <QRegularExpression>

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

namespace {

QString description(QWidget *w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

// The working of a blind-hex verdict adds up: its sum, written with the signs
// folded in ("= 1 + 0 + 1 − 3 − 0 = −1"), gives the total it states; that
// total, wrapped to 32 bits and raised to the least, is the verdict's count;
// and the last line weighs the far range against that count.
void checkSum(const QStringList &lines, const QString &verdict) {
    const QString minus = QStringLiteral("\u2212");
    const auto number = [&](QString t) {
        bool ok = false;
        const qint64 n =
            t.remove(QLatin1Char(',')).replace(minus, QLatin1String("-")).toLongLong(&ok);
        return ok ? n : Q_INT64_C(0x7fffffffffffffff);
    };
    const int at = int(std::find_if(lines.begin(), lines.end(),
                                    [](const QString &l) { return l.startsWith("= "); }) -
                       lines.begin());
    QVERIFY2(at < lines.size(), "no sum");
    const QStringList words = lines[at].split(QLatin1Char(' '));
    qint64 sum = number(words.value(1));
    int i = 2;
    for (; i + 1 < words.size() && words[i] != QLatin1String("="); i += 2)
        sum += (words[i] == minus ? -1 : 1) * number(words[i + 1]);
    QCOMPARE(number(words.value(i + 1)), sum);
    qint64 count = qint64(qint32(quint32(quint64(sum))));
    const QString rest = lines.mid(at).join(QLatin1Char(' '));
    if (count != sum)
        QVERIFY2(
            rest.contains("wraps around 32 bits to " + QString::number(count).replace("-", minus)),
            qPrintable(rest));
    const qint64 least = rest.contains(QLatin1String("raised to 0")) ? 0 : 1;
    if (count < least)
        count = least;
    QCOMPARE(QString::number(count), verdict.section(QLatin1Char(' '), 0, 0));
    const bool seen = verdict.endsWith(QLatin1String("(LOS OK)"));
    QVERIFY(lines.last().endsWith(QString::number(count) + (seen ? ", seen." : ", not seen.")));
}

} // namespace

// Every case of the shared table, typed into the window.
void tst_Calc::verdict_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("crest");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("working");
    const QList<Case> cases = sharedCases();
    QVERIFY(cases.size() > 20);
    for (const Case &c : cases)
        QTest::newRow(qPrintable(c.name)) << c.values << c.crest << c.verdict << c.working;
}

void tst_Calc::verdict() {
    QFETCH(QStringList, values);
    QFETCH(bool, crest);
    QFETCH(QString, text);
    QFETCH(QString, working);

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

    // The working: the tooltip of the panel and of the verdict, and the
    // verdict's description for screen readers.
    const QString shown = driver.form.l_result->toolTip();
    QCOMPARE(driver.form.p_result->toolTip(), shown);
    QCOMPARE(description(driver.form.l_result), shown);
    QCOMPARE(shown.isEmpty(), unchanged);
    const QStringList lines = shown.split(QLatin1Char('\n'));
    if (!working.isEmpty())
        QVERIFY2(lines.contains(working), qPrintable(shown));
    if (unchanged || text == QLatin1String("LOS Blocked")) {
        QVERIFY(!shown.contains(QLatin1String("Blind hexes")));
        return;
    }
    checkSum(lines, text);
    // Each text that is no plain whole number is quoted with the number it
    // counts as (a long one by its value).
    for (const QString &value : values)
        if (value.trimmed().size() <= 24)
            if (!QRegularExpression(QStringLiteral("^\\s*(0|-?[1-9][0-9]*)\\s*$"))
                     .match(value)
                     .hasMatch())
                QVERIFY2(shown.contains(value.trimmed().replace("-", "\u2212") + " counts as "),
                         qPrintable(value));
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
    for (const QString &working :
         {form.p_result->toolTip(), form.l_result->toolTip(), description(form.l_result)})
        QVERIFY(working.isEmpty());
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
