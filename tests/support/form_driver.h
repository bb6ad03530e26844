// Drives a Quorvel window in tests as a user would: typing into its fields,
// ticking the box and reading the colours actually painted.
#pragma once

#include "form/quorvel.h"
#include "platform/action.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

// The window's private parts, for tests only.
struct QuorvelTestAccess {
    explicit QuorvelTestAccess(Quorvel &w)
        : window(w), tf_hf(w.tf_hf), tf_ro(w.tf_ro), tf_ho(w.tf_ho), tf_rt(w.tf_rt), tf_ht(w.tf_ht),
          cb_c(w.cb_c), b_calc(w.b_calc), b_clear(w.b_clear), l_0(w.l_0), l_1(w.l_1), l_2(w.l_2),
          l_3(w.l_3), l_4(w.l_4), l_5(w.l_5), l_6(w.l_6), p_result(w.p_result),
          l_result(w.l_result) {}

    void calc() { window.calc(); }
    void clear() { window.clear(); }

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

    Quorvel &window;
    QLineEdit *tf_hf, *tf_ro, *tf_ho, *tf_rt, *tf_ht;
    QCheckBox *cb_c;
    platform::Button *b_calc, *b_clear;
    QLabel *l_0, *l_1, *l_2, *l_3, *l_4, *l_5, *l_6;
    QWidget *p_result;
    QLabel *l_result;
};

// A shown, active window and the means to use it.
class FormDriver {
public:
    FormDriver() : form(window) {
        window.setVisible(true);
        QApplication::setActiveWindow(&window);
        ok = QTest::qWaitForWindowActive(&window);
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
        const QMargins insets = window.insets();
        return window.grab().toImage().pixelColor(at - QPoint(insets.left(), insets.top()));
    }
    // The result panel, left of the label, and the label's own left margin.
    QColor panelColor() { return pixel({12, 224}); }
    QColor labelColor() { return pixel({17, 230}); }

    Quorvel window;
    QuorvelTestAccess form;
    bool ok = false;
};
