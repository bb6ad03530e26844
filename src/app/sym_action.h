// Routes the presses of "Calculate" and "Clear" to the window.
#pragma once

#include "form/quorvel.h"

class Quorvel::SymAction : public platform::ActionListener {
public:
    explicit SymAction(Quorvel *owner) : owner(owner) {}

    void actionPerformed(const platform::ActionEvent &e) override;

private:
    Quorvel *const owner;
};
