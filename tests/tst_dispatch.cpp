#include "platform/qt/look.h"
#include "support/form_driver.h"
#include "support/screen_colours.h"

// The two buttons: each press runs its own branch, told apart by the button
// itself, never by its label.
class tst_Dispatch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { platform::qt::installStyle(); }
    void oneListenerForBoth();
    void buttonsByIdentity();
    void otherSourceChangesNothing();
    void parseFailureThenPress();
    void enterPressesCalculate_data();
    void enterPressesCalculate();
};

namespace {
const QStringList seen{"2", "3", "1", "4", "0"};

void press(QAbstractButton *button) {
    QTest::mouseClick(button, Qt::LeftButton);
}
} // namespace

void tst_Dispatch::oneListenerForBoth() {
    Quorvel window;
    const QuorvelTestAccess form(window);
    QCOMPARE(form.calcButton().actionListeners().size(), size_t(1));
    QCOMPARE(form.clearButton().actionListeners(), form.calcButton().actionListeners());
}

void tst_Dispatch::otherSourceChangesNothing() {
    FormDriver driver;
    QVERIFY(driver.ok);
    driver.enter(seen, false);
    press(driver.form.b_calc);
    driver.form.tf_hf->setFocus();

    // The listener, added to some other button, does nothing for its presses.
    platform::Button other;
    const auto listener = driver.form.calcButton().actionListeners().front();
    other.addActionListener(listener);
    QTest::mouseClick(QuorvelTestAccess::qt<QPushButton>(other), Qt::LeftButton);
    listener->actionPerformed({&driver.form.obstacleHeight()});

    QCOMPARE(driver.form.l_result->text(), QStringLiteral("1 Blind Hexes  F>T (LOS OK)"));
    QCOMPARE(driver.form.tf_ro->text(), QStringLiteral("3"));
    QCOMPARE(driver.panelColor(), green);
    QCOMPARE(QApplication::focusWidget(), driver.form.tf_hf);
}

// Each button does its own work whatever its label says: "Calculate" shows
// the verdict and asks for no focus; "Clear" empties the form and leaves the
// focus in the obstacle's height.
void tst_Dispatch::buttonsByIdentity() {
    FormDriver driver;
    QVERIFY(driver.ok);
    QuorvelTestAccess &form = driver.form;
    form.b_calc->setText(QStringLiteral("Clear"));
    form.b_clear->setText(QStringLiteral("Calculate"));
    driver.enter(seen, true);
    form.tf_rt->setFocus();
    form.b_calc->click(); // a press that takes no focus itself
    QCOMPARE(form.l_result->text(), QStringLiteral("0 Blind Hexes  F>T (LOS OK)"));
    QCOMPARE(driver.panelColor(), green);
    QCOMPARE(form.tf_hf->text(), QStringLiteral("2"));
    QCOMPARE(QApplication::focusWidget(), form.tf_rt);

    press(form.b_clear);
    QVERIFY(form.l_result->text().isEmpty());
    QVERIFY(form.tf_hf->text().isEmpty() && !form.cb_c->isChecked());
    QCOMPARE(QApplication::focusWidget(), form.tf_ho); // the last request wins
    QTest::keyClicks(QApplication::focusWidget(), "7");
    QCOMPARE(form.tf_ho->text(), QStringLiteral("7"));
}

void tst_Dispatch::parseFailureThenPress() {
    FormDriver driver;
    QVERIFY(driver.ok);
    driver.enter({"1", "5", "3", "x", "2"}, false);
    press(driver.form.b_calc);
    QVERIFY(driver.form.l_result->text().isEmpty());
    QCOMPARE(driver.panelColor(), amber);

    FormDriver::type(driver.form.tf_rt, QStringLiteral("5"));
    press(driver.form.b_calc);
    QCOMPARE(driver.form.l_result->text(), QStringLiteral("LOS Blocked"));
    QCOMPARE(driver.panelColor(), red);
}

void tst_Dispatch::enterPressesCalculate_data() {
    QTest::addColumn<int>("field");
    for (int field = 0; field < 5; ++field)
        QTest::addRow("field %d", field) << field;
}

void tst_Dispatch::enterPressesCalculate() {
    QFETCH(int, field);
    struct Counter : platform::ActionListener {
        int presses = 0;
        void actionPerformed(const platform::ActionEvent &) override { ++presses; }
    };
    FormDriver driver;
    QVERIFY(driver.ok);
    auto counter = std::make_shared<Counter>();
    driver.form.calcButton().addActionListener(counter);
    driver.enter(seen, false);
    QTest::keyClick(driver.form.fields()[field], Qt::Key_Return);
    QCOMPARE(counter->presses, 1);
    QCOMPARE(driver.form.l_result->text(), QStringLiteral("1 Blind Hexes  F>T (LOS OK)"));
    QCOMPARE(driver.panelColor(), green);
}

QTEST_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
