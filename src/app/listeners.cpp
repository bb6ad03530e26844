#include "app/sym_action.h"
#include "app/sym_window.h"
#include "platform/runtime.h"

void Quorvel::SymWindow::windowClosing(const platform::WindowEvent &) {
    // Nothing to save or ask: the window closes by ending the program, with
    // status 1 as it always has.
    platform::exit(1);
}

void Quorvel::SymAction::actionPerformed(const platform::ActionEvent &e) {
    // The buttons are told apart by identity, read from the window now, never
    // by their labels.
    if (e.source == &owner->b_calc) {
        owner->calc();
    } else if (e.source == &owner->b_clear) {
        owner->clear();
        owner->tf_ho.requestFocus();
    }
}
