#include "platform/runtime.h"
#include "native.h"

#include <emscripten/em_macros.h>

#include <algorithm>
#include <optional>

using emscripten::val;

extern "C" {
// From form.js: calls quorvel_fragment on each hashchange of the page.
void quorvel_on_fragment();
}

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

namespace {

std::function<void(std::string_view)> fragmentHandler;

// The fragment of the page's address, without its '#', as the address has it.
std::string fragment() {
    const std::string hash = val::global("location")["hash"].as<std::string>();
    return hash.empty() ? hash : hash.substr(1);
}

} // namespace

// Called from the page's hashchange listener (see form.js): a link to the
// page with another fragment was followed, and the page was not opened anew.
extern "C" EMSCRIPTEN_KEEPALIVE void quorvel_fragment() {
    if (!web::running() || !fragmentHandler)
        return;
    if (const std::string f = fragment(); !f.empty())
        fragmentHandler(f);
}

std::string linkTo(std::string_view fragment) {
    std::string address = val::global("location")["href"].as<std::string>();
    address.erase(std::min(address.find('#'), address.size()));
    return address + '#' + std::string(fragment);
}

void onFragment(std::function<void(std::string_view)> handler) {
    const bool first = !fragmentHandler;
    fragmentHandler = std::move(handler);
    if (first)
        quorvel_on_fragment();
    quorvel_fragment();
}

} // namespace platform
