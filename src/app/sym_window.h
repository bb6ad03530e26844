// Ends the program when the user closes the window.
#pragma once

#include "form/quorvel.h"

class Quorvel::SymWindow : public platform::WindowAdapter {
public:
    explicit SymWindow(Quorvel *owner) : owner(owner) {}

    void windowClosing(const platform::WindowEvent &e) override;

private:
    [[maybe_unused]] Quorvel *const owner; // the window it serves
};
