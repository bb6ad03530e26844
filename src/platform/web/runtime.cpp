#include "platform/runtime.h"
#include "native.h"

#include <optional>

using emscripten::val;

namespace platform {

namespace {
std::optional<int> ended;

void setState(const char *state) {
    web::setAttribute(web::document()["documentElement"], "data-state", state);
}
} // namespace

bool web::running() {
    return !ended;
}

// The browser starts the module and calls main once the page is there; entry
// builds and shows the window. The browser then delivers the page's events
// for as long as the page is open: main returns, and the module stays.
int runMain(int argc, char **argv, Entry entry) {
    entry(std::span<char *const>(argv, static_cast<std::size_t>(argc)));
    if (ended)
        return *ended;
    // The form is built, shown and ready for input.
    setState("ready");
    return 0;
}

// A page has no process to end. The program stops instead: no event reaches
// it any more, its windows leave the page as closed windows leave a desktop,
// and the page says how to start it again. The status is kept on the page.
void exit(int status) {
    if (ended)
        return;
    ended = status;
    val document = web::document();
    const val windows = document.call<val>("querySelectorAll", val(".q-frame"));
    for (int i = 0, n = windows["length"].as<int>(); i < n; ++i)
        windows[i].set("hidden", true);
    val note = document.call<val>("createElement", val("p"));
    note.set("className", val("q-note"));
    note.set("textContent",
             val(std::string("Quorvel has ended. Reload the page to start it again.")));
    web::main().call<void>("appendChild", note);
    document["documentElement"].call<void>("setAttribute", val("data-exit-status"),
                                           val(std::to_string(status)));
    setState("ended");
}

std::string linkTo(std::string_view) {
    return {};
}

void onFragment(std::function<void(std::string_view)>) {}

} // namespace platform
