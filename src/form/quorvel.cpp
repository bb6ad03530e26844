#include "quorvel.h"

#include "app/sym_action.h"
#include "app/sym_window.h"
#include "los/verdict_color.h"
#include "platform/action.h"
#include "platform/look.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

using platform::setBackground;
using platform::colors::lightGray;
using platform::colors::white;

namespace {
constexpr Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
}

Quorvel::Quorvel()
    : tf_hf(new QLineEdit), tf_ro(new QLineEdit), tf_ho(new QLineEdit), tf_rt(new QLineEdit),
      tf_ht(new QLineEdit), cb_c(new QCheckBox), b_calc(new platform::Button),
      b_clear(new platform::Button), l_0(new QLabel), l_1(new QLabel), l_2(new QLabel),
      l_3(new QLabel), l_4(new QLabel), l_5(new QLabel), l_6(new QLabel), p_result(new QWidget),
      l_result(new QLabel) {
    setBackground(this, QColor(182, 182, 107));
    setFont(platform::dialogFont(platform::Plain, 11));
    setSize(208, 257);
    setVisible(false);

    add(tf_hf);
    setBackground(tf_hf, white);
    setBounds(tf_hf, 152, 30, 40, 20);

    add(tf_ro);
    setBackground(tf_ro, white);
    setBounds(tf_ro, 152, 54, 40, 20);

    add(tf_ho);
    setBackground(tf_ho, white);
    setBounds(tf_ho, 152, 79, 40, 20);

    add(tf_rt);
    setBackground(tf_rt, white);
    setBounds(tf_rt, 152, 102, 40, 20);

    add(tf_ht);
    setBackground(tf_ht, white);
    setBounds(tf_ht, 152, 129, 40, 20);

    // Only the box shows in its 16 by 16 pixels; the two captions to its left
    // tell what it means.
    cb_c->setText(QStringLiteral("checkbox"));
    add(cb_c);
    setBackground(cb_c, white);
    setBounds(cb_c, 139, 163, 16, 16);

    b_calc->setText(QStringLiteral("Calculate"));
    add(b_calc);
    setBackground(b_calc, lightGray);
    b_calc->setFont(platform::dialogFont(platform::Bold, 11));
    setBounds(b_calc, 32, 195, 68, 20);

    b_clear->setText(QStringLiteral("Clear"));
    add(b_clear);
    setBackground(b_clear, lightGray);
    setBounds(b_clear, 108, 195, 68, 20);

    l_0->setText(QStringLiteral("Height of Obstacle"));
    l_0->setAlignment(right);
    add(l_0);
    setBounds(l_0, 45, 82, 103, 14);

    l_1->setText(QStringLiteral("Height of Firer"));
    l_1->setAlignment(right);
    add(l_1);
    setBounds(l_1, 16, 34, 132, 14);

    l_2->setText(QStringLiteral("Height of Target"));
    l_2->setAlignment(right);
    add(l_2);
    setBounds(l_2, 16, 131, 132, 14);

    l_3->setText(QStringLiteral("Range of Firer to Obstacle"));
    l_3->setAlignment(right);
    add(l_3);
    l_3->setFont(platform::dialogFont(platform::BoldItalic, 10));
    setBounds(l_3, 16, 58, 132, 14);

    l_4->setText(QStringLiteral("Range of Obstacle to Target"));
    l_4->setAlignment(right);
    add(l_4);
    l_4->setFont(platform::dialogFont(platform::BoldItalic, 10));
    setBounds(l_4, 12, 106, 136, 14);

    l_5->setText(QStringLiteral("Obstacle is a"));
    l_5->setAlignment(right);
    add(l_5);
    setBounds(l_5, 31, 159, 103, 12);

    l_6->setText(QStringLiteral("non-Cliff Crest Line"));
    l_6->setAlignment(right);
    add(l_6);
    setBounds(l_6, 31, 172, 103, 12);

    add(p_result);
    setBackground(p_result, toQColor(los::amber));
    setBounds(p_result, 10, 222, 189, 27);

    l_result->setAlignment(Qt::AlignCenter);
    l_result->setParent(p_result);
    l_result->setFont(platform::dialogFont(platform::Bold, 11));
    l_result->setGeometry(5, 6, 180, 14);

    setTitle(QStringLiteral("Quorvel v1.2"));
    describeForAssistiveTechnology();

    // Enter in a field presses "Calculate", through the button itself.
    for (QLineEdit *field : {tf_hf, tf_ro, tf_ho, tf_rt, tf_ht})
        connect(field, &QLineEdit::returnPressed, b_calc, &QAbstractButton::click);
    addWindowListener(std::make_unique<SymWindow>(this));

    auto action = std::make_shared<SymAction>(this);
    b_calc->addActionListener(action);
    b_clear->addActionListener(action);
}

// Screen readers name each input by its caption; the result line reads as its
// verdict on its own. Nothing visible changes.
void Quorvel::describeForAssistiveTechnology() {
    for (auto [field, caption] :
         {std::pair{tf_hf, l_1}, {tf_ro, l_3}, {tf_ho, l_0}, {tf_rt, l_4}, {tf_ht, l_2}})
        field->setAccessibleName(caption->text());
    cb_c->setAccessibleName(l_5->text() + QLatin1Char(' ') + l_6->text());
}

Quorvel::Quorvel(const QString &title) : Quorvel() {
    setTitle(title);
}

void Quorvel::setVisible(bool visible) {
    if (visible)
        setLocation(50, 50);
    Frame::setVisible(visible);
}
