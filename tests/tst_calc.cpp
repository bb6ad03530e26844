#include "los/link.h"
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
    void link_data();
    void link();
};

namespace {

QString description(QWidget *w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

// A blind-hex verdict's working adds up: its sum with the signs folded in
// ("= 1 + 0 + 1 − 3 − 0 = −2, raised to ...") gives the total it states, and
// its last line weighs the far range against the verdict's count.
void checkSum(const QStringList &lines, const QString &verdict) {
    const auto number = [](QString t) {
        return t.remove(QLatin1Char(',')).replace(QStringLiteral("\u2212"), "-").toLongLong();
    };
    const QStringList words = lines.filter(QRegularExpression("^= ")).value(0).split(' ');
    const int equals = int(words.indexOf(QStringLiteral("="), 1));
    qint64 total = number(words.value(1));
    for (int i = 2; i + 1 < equals; i += 2)
        total += (words[i] == QLatin1String("+") ? 1 : -1) * number(words[i + 1]);
    QVERIFY2(equals > 1 && number(words.value(equals + 1)) == total, qPrintable(words.join(' ')));
    const bool seen = verdict.endsWith(QLatin1String("(LOS OK)"));
    QVERIFY(lines.last().endsWith(verdict.section(' ', 0, 0) + (seen ? ", seen." : ", not seen.")));
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
    // counts as (a long one cut in the middle).
    const QRegularExpression whole(QStringLiteral("^(0|-?[1-9][0-9]*)$"));
    for (const QString &value : values)
        if (value.trimmed().size() <= 24 && !whole.match(value.trimmed()).hasMatch())
            QVERIFY(shown.contains(value.trimmed().replace("-", "\u2212") + " counts as "));
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

void tst_Calc::link_data() {
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QStringList>("texts"); // none: the form stays empty
    QTest::addColumn<bool>("crest");
    QTest::addColumn<QString>("verdict");

    const QStringList worked{"2", "3", "1", "4", "0"};
    QTest::newRow("worked example")
        << "2,3,1,4,0" << worked << false << "1 Blind Hexes  F>T (LOS OK)";
    QTest::newRow("crest line") << "3,9,0,2,0,crest" << QStringList{"3", "9", "0", "2", "0"} << true
                                << "0 Blind Hexes  F>T (LOS OK)";
    QTest::newRow("the table") << "2,3,1,4,0,levels" << worked << false
                               << "1 Blind Hexes  F>T (LOS OK)";
    QTest::newRow("the table, crest line")
        << "3,9,0,2,0,crest,levels" << QStringList{"3", "9", "0", "2", "0"} << true
        << "0 Blind Hexes  F>T (LOS OK)";
    QTest::newRow("blanks, signs, exponent")
        << "%202%20,%2B3e0,1,4,-0" << QStringList{" 2 ", "+3e0", "1", "4", "-0"} << false
        << "1 Blind Hexes  F>T (LOS OK)";
    QTest::newRow("markup stays text")
        << "%3Cb%3E2,3,1,4,0" << QStringList{"<b>2", "3", "1", "4", "0"} << false << "";
    QTest::newRow("a comma in a text")
        << "2%2C5,3,1,4,0" << QStringList{"2,5", "3", "1", "4", "0"} << false << "";
    QTest::newRow("empty texts") << ",,,," << QStringList{"", "", "", "", ""} << false << "";
    for (const char *other :
         {"", "2,3,1,4", "2,3,1,4,0,ticked", "2,3,1,4,0,crest,crest", "2,3,1,4,0,levels,crest",
          "2,3,1,4,0,levels,levels", "2,3,%1,4,0", "2,3,1,4,0%", "2;3;1;4;0"})
        QTest::newRow(other) << other << QStringList() << false << "";
}

// A link's sighting fills the form as typed and is calculated; texts that do
// not parse stay in the fields with no verdict; a fragment of any other form
// leaves the form empty. In a page that already shows a verdict, a link of
// the sighting's form replaces all of it, working and all, and any other
// fragment leaves it. Copied back into a link, the texts come out as the
// fragment was.
void tst_Calc::link() {
    QFETCH(QString, fragment);
    QFETCH(QStringList, texts);
    QFETCH(bool, crest);
    QFETCH(QString, verdict);

    for (const bool earlier : {false, true}) {
        FormDriver driver;
        QVERIFY(driver.ok);
        const QStringList blocked{"1", "5", "3", "5", "2"};
        if (earlier) {
            driver.enter(blocked, true);
            driver.form.calc();
        }
        const bool stays = earlier && texts.isEmpty();
        driver.form.open(fragment.toStdString());
        QStringList shown;
        for (QLineEdit *field : driver.form.fields())
            shown << field->text();
        QCOMPARE(shown, stays ? blocked : texts.isEmpty() ? QStringList(5, QString()) : texts);
        QCOMPARE(driver.form.cb_c->isChecked(), stays || crest);
        QCOMPARE(driver.form.l_result->text(), stays ? "LOS Blocked" : verdict);
        QCOMPARE(driver.panelColor(), stays ? red : verdict.isEmpty() ? amber : green);
        QCOMPARE(driver.form.l_result->toolTip().isEmpty(), !stays && verdict.isEmpty());
    }
    if (texts.isEmpty())
        return;
    los::Link link{{{}, crest}, fragment.endsWith(",levels")};
    for (std::size_t i = 0; i < 5; ++i)
        link.typed.texts[i] = texts[int(i)].toStdString();
    QCOMPARE(los::parseFragment(los::fragment(link.typed, link.levels)), std::optional(link));
}

QTEST_MAIN(tst_Calc)
#include "tst_calc.moc"
