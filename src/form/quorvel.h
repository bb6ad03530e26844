// The calculator's window: five inputs, the crest-line box, two buttons and
// the coloured result line, laid out at fixed pixel places.
#pragma once

#include "los/line_of_sight.h"
#include "platform/controls.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

class LevelsWindow;

class Quorvel : public platform::Frame {
public:
    Quorvel();
    explicit Quorvel(std::string_view title);
    ~Quorvel() override;

    // Each showing puts the window back at its place on the screen.
    void setVisible(bool visible) override;

    static void main(std::span<char *const> args);

private:
    class SymWindow;
    class SymAction;
    friend struct QuorvelTestAccess;

    void calc();
    void clear();
    // The result back to amber, with no verdict, tooltip, copy or image.
    void clearResult();
    // Fills the form from a link's sighting and calculates it.
    void open(std::string_view fragment);
    void describeForAssistiveTechnology();
    // The five fields, top to bottom.
    std::array<platform::TextField *, los::field::count> fields();
    // Opens "Which Levels See" on the sighting shown, making it the first
    // time.
    void showLevels();

    // The window owns its components; they are created in this order.
    platform::TextField tf_hf;
    platform::TextField tf_ro;
    platform::TextField tf_ho;
    platform::TextField tf_rt;
    platform::TextField tf_ht;
    platform::Checkbox cb_c;
    platform::Button b_calc;
    platform::Button b_clear;
    platform::Label l_0;
    platform::Label l_1;
    platform::Label l_2;
    platform::Label l_3;
    platform::Label l_4;
    platform::Label l_5;
    platform::Label l_6;
    platform::Panel p_result;
    platform::Label l_result;

    // The sighting of the verdict shown, as typed; none before a verdict and
    // after "Clear".
    std::optional<los::Typed> shown_;
    // "Which Levels See", once it has been opened.
    std::unique_ptr<LevelsWindow> levels_;
};
