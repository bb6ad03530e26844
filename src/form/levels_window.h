// The window "Which Levels See": every firer level against every target
// level for the sighting on the form, in a window of its own beside the
// form, with the table as text and as an image to copy, save and share.
#pragma once

#include "los/line_of_sight.h"
#include "platform/controls.h"

class LevelsWindow {
public:
    explicit LevelsWindow(platform::Frame &form);

    // Shows the table of the sighting as typed, or, with none, says there
    // is no sighting to show.
    void fill(const los::Typed *typed);
    void show() { window_.show(); }
    bool showing() const { return window_.showing(); }

private:
    platform::TableWindow window_;
};
