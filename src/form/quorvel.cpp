#include "quorvel.h"

#include "app/sym_action.h"
#include "app/sym_window.h"
#include "form/levels_window.h"
#include "los/line_of_sight.h"

using platform::Color;
using platform::Font;
using platform::Label;

namespace {
const Font plain11{"Dialog", Font::Plain, 11};
const Font bold11{"Dialog", Font::Bold, 11};
const Font boldItalic10{"Dialog", Font::BoldItalic, 10};
} // namespace

Quorvel::Quorvel() {
    setBackground({182, 182, 107});
    setFont(plain11);
    setSize(208, 257);
    setVisible(false);

    add(tf_hf);
    tf_hf.setBackground(Color::white);
    tf_hf.setBounds(152, 30, 40, 20);

    add(tf_ro);
    tf_ro.setBackground(Color::white);
    tf_ro.setBounds(152, 54, 40, 20);

    add(tf_ho);
    tf_ho.setBackground(Color::white);
    tf_ho.setBounds(152, 79, 40, 20);

    add(tf_rt);
    tf_rt.setBackground(Color::white);
    tf_rt.setBounds(152, 102, 40, 20);

    add(tf_ht);
    tf_ht.setBackground(Color::white);
    tf_ht.setBounds(152, 129, 40, 20);

    // Only the box shows in its 16 by 16 pixels; the two captions to its left
    // tell what it means.
    cb_c.setLabel("checkbox");
    add(cb_c);
    cb_c.setBackground(Color::white);
    cb_c.setBounds(139, 163, 16, 16);

    b_calc.setLabel("Calculate");
    add(b_calc);
    b_calc.setBackground(Color::lightGray);
    b_calc.setFont(bold11);
    b_calc.setBounds(32, 195, 68, 20);

    b_clear.setLabel("Clear");
    add(b_clear);
    b_clear.setBackground(Color::lightGray);
    b_clear.setBounds(108, 195, 68, 20);

    using los::field::captions;
    l_0.setText(captions[los::field::ho]);
    l_0.setAlignment(Label::Right);
    add(l_0);
    l_0.setBounds(45, 82, 103, 14);

    l_1.setText(captions[los::field::hf]);
    l_1.setAlignment(Label::Right);
    add(l_1);
    l_1.setBounds(16, 34, 132, 14);

    l_2.setText(captions[los::field::ht]);
    l_2.setAlignment(Label::Right);
    add(l_2);
    l_2.setBounds(16, 131, 132, 14);

    l_3.setText(captions[los::field::ro]);
    l_3.setAlignment(Label::Right);
    add(l_3);
    l_3.setFont(boldItalic10);
    l_3.setBounds(16, 58, 132, 14);

    l_4.setText(captions[los::field::rt]);
    l_4.setAlignment(Label::Right);
    add(l_4);
    l_4.setFont(boldItalic10);
    l_4.setBounds(12, 106, 136, 14);

    l_5.setText("Obstacle is a");
    l_5.setAlignment(Label::Right);
    add(l_5);
    l_5.setBounds(31, 159, 103, 12);

    l_6.setText("non-Cliff Crest Line");
    l_6.setAlignment(Label::Right);
    add(l_6);
    l_6.setBounds(31, 172, 103, 12);

    add(p_result);
    p_result.setBackground(los::amber);
    p_result.setBounds(10, 222, 189, 27);

    l_result.setAlignment(Label::Center);
    p_result.add(l_result);
    l_result.setFont(bold11);
    l_result.setBounds(5, 6, 180, 14);

    setTitle("Quorvel v1.2");
    describeForAssistiveTechnology();

    // Enter in a field presses "Calculate", through the button itself; the
    // Copy key with nothing selected copies the verdict.
    setDefaultButton(b_calc);
    setDefaultCopy(l_result);
    addWindowListener(std::make_unique<SymWindow>(this));

    auto action = std::make_shared<SymAction>(this);
    b_calc.addActionListener(action);
    b_clear.addActionListener(action);
}

// Screen readers name each input by its caption and read out each new
// verdict. Nothing visible changes.
void Quorvel::describeForAssistiveTechnology() {
    const auto inputs = fields();
    for (std::size_t i = 0; i < inputs.size(); ++i)
        inputs[i]->setAccessibleName(los::field::captions[i]);
    cb_c.setAccessibleName(los::field::crest);
    l_result.setLive();
}

Quorvel::Quorvel(std::string_view title) : Quorvel() {
    setTitle(title);
}

Quorvel::~Quorvel() = default;

std::array<platform::TextField *, los::field::count> Quorvel::fields() {
    return {&tf_hf, &tf_ro, &tf_ho, &tf_rt, &tf_ht};
}

void Quorvel::showLevels() {
    if (!levels_)
        levels_ = std::make_unique<LevelsWindow>(*this);
    levels_->fill(shown_ ? &*shown_ : nullptr);
    levels_->show();
}

void Quorvel::setVisible(bool visible) {
    if (visible)
        setLocation(50, 50);
    Frame::setVisible(visible);
}
