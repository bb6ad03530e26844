// A private Xvfb for the benchmarks, and the little they need of X: starting
// a program and seeing its first window mapped.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

class XServer {
public:
    XServer();  // starts Xvfb on a free display and connects to it
    ~XServer(); // stops it
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    Display *display() const { return display_; }
    const std::string &name() const { return name_; }

    struct Launch {
        int pid = -1;
        Window window = 0;
        std::chrono::nanoseconds toMapped{};
    };
    // Starts a program on this server and waits until its first top-level
    // window is mapped; the time counts from just before fork.
    Launch launch(const std::vector<std::string> &argv);
    static void stop(int pid);

private:
    std::string name_;
    int serverPid_ = -1;
    Display *display_ = nullptr;
};

// Resident memory of a process, in KiB.
long residentKiB(int pid);

// The conditions of a desktop session, the same on every machine, for the
// programs that a benchmark starts: a session bus of its own (dbus-daemon, as
// every desktop session has one), an empty private XDG_RUNTIME_DIR, LANG=C.UTF-8,
// the caller's PATH, HOME and user name, and nothing else of the caller's
// environment (no Wayland display, no Qt or desktop settings). The bus stops
// with the benchmark, even when it dies.
class DesktopSession {
public:
    DesktopSession(); // throws std::runtime_error when the bus does not start
    ~DesktopSession();
    DesktopSession(const DesktopSession &) = delete;
    DesktopSession &operator=(const DesktopSession &) = delete;

    const std::string &busAddress() const { return bus_; }

private:
    std::string runtimeDir_;
    std::string bus_;
    int busPid_ = -1;
};
