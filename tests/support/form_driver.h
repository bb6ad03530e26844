// Drives a Quorvel window in tests as a user would: typing into its fields,
// ticking the box and reading the colours actually painted.
#pragma once

#include "cases.h"
#include "form/quorvel.h"
#include "platform/qt/frame_widget.h"
#include "platform/qt/native.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

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

// "Which Levels See", where the form has made it; never more than one.
inline QWidget *levelsWindow() {
    QWidgetList found = QApplication::topLevelWidgets();
    found.removeIf([](QWidget *w) { return w->windowTitle() != "Which Levels See"; });
    return found.size() == 1 ? found.front() : nullptr;
}

// A menu's item or a button by its text, its '&' left out.
template <typename T> T *named(const QList<T *> &all, const QString &text) {
    for (T *item : all)
        if (item->text().remove('&') == text)
            return item;
    return nullptr;
}

// Answers each modal window that opens while it lives, in turn, as a player
// would, in steps separated by "; ": "name N" types a file's name, "choose
// SVG" the save dialog's second type, "meanwhile" does what was given, any
// other presses that button. A window with no answer left is cancelled.
class Answers : public QObject {
public:
    explicit Answers(QStringList answers, std::function<void()> meanwhile = {}) {
        connect(&timer_, &QTimer::timeout, this, [=, this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || handled_.contains(modal))
                return;
            handled_ << modal;
            auto *name = modal->findChild<QLineEdit *>("fileNameEdit");
            if (name)
                proposed << name->text();
            // Out of the timer's call: an answer may open a window of its own.
            QTimer::singleShot(0, modal, [=, steps = answers.value(answered++)] {
                for (const QString &step : steps.split("; ")) {
                    QAbstractButton *button = named(modal->findChildren<QAbstractButton *>(), step);
                    if (step == "meanwhile")
                        meanwhile();
                    else if (step.startsWith("name "))
                        name->setText(step.mid(5));
                    else if (step == "choose SVG")
                        QTest::keyClick(modal->findChild<QComboBox *>("fileTypeCombo"),
                                        Qt::Key_Down);
                    else if (button && !step.isEmpty())
                        button->click();
                    else
                        qobject_cast<QDialog *>(modal)->done(QDialog::Rejected);
                }
            });
        });
        timer_.start(20);
    }

    QStringList proposed; // the name in each save dialog as it opened
    int answered = 0;

private:
    QList<QPointer<QWidget>> handled_;
    QTimer timer_;
};
