#include "form/quorvel.h"
#include "platform/runtime.h"

// Builds the window and shows it; the command line is not read. A failure
// on the way is reported and ends the program with status 1.
void Quorvel::main(std::span<char *const>) {
    try {
        auto *window = new Quorvel; // the run owns it from here on
        window->setVisible(true);
        // A page opened from a link shows the link's sighting.
        platform::onFragment([window](std::string_view fragment) { window->open(fragment); });
    } catch (...) {
        platform::report(std::current_exception());
        platform::exit(1);
    }
}
