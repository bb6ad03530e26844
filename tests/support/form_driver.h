// Drives a Quorvel window in tests as a user would: typing into its fields,
// ticking the box and reading the colours actually painted.
#pragma once

#include "cases.h"
#include "form/quorvel.h"
#include "platform/qt/frame_widget.h"
#include "platform/qt/native.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The window's private parts and the Qt widgets behind them, for tests only.
struct QuorvelTestAccess {
    template <typename W = QWidget> static W *qt(const platform::Component &c) {
        return platform::qt::widget<W>(c);
    }

    explicit QuorvelTestAccess(Quorvel &w)
        : window(w), top(qt<platform::qt::FrameWidget>(w)), tf_hf(qt<QLineEdit>(w.tf_hf)),
          tf_ro(qt<QLineEdit>(w.tf_ro)), tf_ho(qt<QLineEdit>(w.tf_ho)),
          tf_rt(qt<QLineEdit>(w.tf_rt)), tf_ht(qt<QLineEdit>(w.tf_ht)), cb_c(qt<QCheckBox>(w.cb_c)),
          b_calc(qt<QPushButton>(w.b_calc)), b_clear(qt<QPushButton>(w.b_clear)),
          l_0(qt<QLabel>(w.l_0)), l_1(qt<QLabel>(w.l_1)), l_2(qt<QLabel>(w.l_2)),
          l_3(qt<QLabel>(w.l_3)), l_4(qt<QLabel>(w.l_4)), l_5(qt<QLabel>(w.l_5)),
          l_6(qt<QLabel>(w.l_6)), p_result(qt(w.p_result)), l_result(qt<QLabel>(w.l_result)) {}

    void calc() { window.calc(); }
    void clear() { window.clear(); }
    void open(std::string_view fragment) { window.open(fragment); }

    // The seventeen components, in declaration order, with their names.
    QList<std::pair<QByteArray, QWidget *>> components() const {
        return {{"tf_hf", tf_hf},      {"tf_ro", tf_ro}, {"tf_ho", tf_ho},   {"tf_rt", tf_rt},
                {"tf_ht", tf_ht},      {"cb_c", cb_c},   {"b_calc", b_calc}, {"b_clear", b_clear},
                {"l_0", l_0},          {"l_1", l_1},     {"l_2", l_2},       {"l_3", l_3},
                {"l_4", l_4},          {"l_5", l_5},     {"l_6", l_6},       {"p_result", p_result},
                {"l_result", l_result}};
    }
    QWidget *component(const QByteArray &name) const {
        for (const auto &[n, w] : components())
            if (n == name)
                return w;
        return nullptr;
    }
    QList<QLineEdit *> fields() const { return {tf_hf, tf_ro, tf_ho, tf_rt, tf_ht}; }

    // The buttons as the program sees them, with their listeners.
    platform::Button &calcButton() const { return window.b_calc; }
    platform::Button &clearButton() const { return window.b_clear; }
    platform::Component &obstacleHeight() const { return window.tf_ho; }

    Quorvel &window;
    platform::qt::FrameWidget *top;
    QLineEdit *tf_hf, *tf_ro, *tf_ho, *tf_rt, *tf_ht;
    QCheckBox *cb_c;
    QPushButton *b_calc, *b_clear;
    QLabel *l_0, *l_1, *l_2, *l_3, *l_4, *l_5, *l_6;
    QWidget *p_result;
    QLabel *l_result;
};

// A shown, active window and the means to use it.
class FormDriver {
public:
    FormDriver() : form(window), top(*form.top) {
        window.setVisible(true);
        QApplication::setActiveWindow(&top);
        ok = QTest::qWaitForWindowActive(&top);
    }

    // Replaces a field's text by typing, as a user would.
    static void type(QLineEdit *field, const QString &text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    // Fills the five fields, top to bottom, and sets the box.
    void enter(const QStringList &values, bool crest) {
        const auto fields = form.fields();
        for (int i = 0; i < fields.size(); ++i)
            type(fields[i], values.value(i));
        if (form.cb_c->isChecked() != crest)
            QTest::mouseClick(form.cb_c, Qt::LeftButton, {}, QPoint(7, 7));
    }

    // A pixel of the window's client area, given in outer-frame coordinates.
    QColor pixel(QPoint at) {
        const QMargins insets = top.insets();
        return top.grab().toImage().pixelColor(at - QPoint(insets.left(), insets.top()));
    }
    // The result panel, left of the label, and the label's own left margin.
    QColor panelColor() { return pixel({12, 224}); }
    QColor labelColor() { return pixel({17, 230}); }

    Quorvel window;
    QuorvelTestAccess form;
    platform::qt::FrameWidget &top;
    bool ok = false;
};
