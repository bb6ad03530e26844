// The calculator's window: five inputs, the crest-line box, two buttons and
// the coloured result line, laid out at fixed pixel places.
#pragma once

#include "platform/frame.h"

#include <span>

class QCheckBox;
class QLabel;
class QLineEdit;
namespace platform {
class Button;
}

class Quorvel : public platform::Frame {
public:
    Quorvel();
    explicit Quorvel(const QString &title);

    // Each showing puts the window back at its place on the screen.
    void setVisible(bool visible) override;

    static void main(std::span<char *const> args);

private:
    class SymWindow;
    class SymAction;
    friend struct QuorvelTestAccess;

    void calc();
    void clear();
    void describeForAssistiveTechnology();

    QLineEdit *tf_hf;
    QLineEdit *tf_ro;
    QLineEdit *tf_ho;
    QLineEdit *tf_rt;
    QLineEdit *tf_ht;
    QCheckBox *cb_c;
    platform::Button *b_calc;
    platform::Button *b_clear;
    QLabel *l_0;
    QLabel *l_1;
    QLabel *l_2;
    QLabel *l_3;
    QLabel *l_4;
    QLabel *l_5;
    QLabel *l_6;
    QWidget *p_result;
    QLabel *l_result;
};
