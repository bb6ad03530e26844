// Start-up, failure reports and exit: the program's run on its toolkit.
#pragma once

#include <exception>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

using Entry = void (*)(std::span<char *const> args);

// Brings up the toolkit and calls entry once with the command line, which the
// toolkit never sees. Once entry returns, delivers events until exit() is
// called, and returns its status. The toolkit's own diagnostics are not
// printed; a failure to start it (no display, say) is reported on standard
// error in words a player can act on and ends the process with status 1.
int runMain(int argc, char **argv, Entry entry);

// Ends the run with the given status, from an event handler or before the
// run has begun delivering events.
void exit(int status);

// Where the program runs as a page, the address that opens it with this
// fragment after its '#': a link to the page itself. Empty where the program
// has no address (a desktop program).
std::string linkTo(std::string_view fragment);

// Calls handler with the fragment of the address the program was opened at
// (the text after '#', as the address has it), if it has one, at once; and
// again with each new fragment, while it runs, that the address is given
// without the page being opened anew. Never where the program has no address.
void onFragment(std::function<void(std::string_view fragment)> handler);

// The string form of a failure: its type, then its message.
std::string describe(std::exception_ptr failure);

// Writes the string form of a failure to standard error.
void report(std::exception_ptr failure);

} // namespace platform
