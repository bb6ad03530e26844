// Start-up, failure reports and exit: the program's run on Qt.
#pragma once

#include <exception>
#include <span>
#include <string>

namespace platform {

using Entry = void (*)(std::span<char *const> args);

// Brings up the application and calls entry once with the command line. Qt
// never sees that command line. Once entry returns, runs the event loop
// until exit() is called and returns its status. Qt's own diagnostics are not
// printed; a failure to start Qt (no display, say) is reported on standard
// error and ends the process with status 1.
int runMain(int argc, char **argv, Entry entry);

// Without a session bus to reach, the D-Bus library falls back on starting
// dbus-launch, which costs a process spawn on the way to the first window
// even where no dbus-launch is installed. When there is no bus address, no
// bus socket under XDG_RUNTIME_DIR and no dbus-launch, sets the session bus
// address to "disabled:" so that the attempt fails at once, as it would have
// failed anyway. Leaves the environment alone in every other case.
void skipHopelessBusLaunch();

// Ends the run with the given status, from the event loop or before it.
void exit(int status);

// The string form of a failure: its type, then its message.
std::string describe(std::exception_ptr failure);

// Writes the string form of a failure to standard error.
void report(std::exception_ptr failure);

} // namespace platform
