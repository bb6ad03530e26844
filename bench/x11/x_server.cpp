#include "x_server.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
// Sends a child's standard output and error to /dev/null, between fork and
// exec, where open and dup2 are safe and stdio is not.
void silence() {
    const int null = open("/dev/null", O_WRONLY);
    if (null < 0)
        return;
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
}

bool exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

int spawn(const std::vector<std::string> &argv, const std::string &display, bool quiet) {
    const int pid = fork();
    if (pid != 0)
        return pid;
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    if (quiet)
        silence();
    std::vector<char *> args;
    for (const auto &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}
} // namespace

XServer::XServer() {
    int n = 300 + getpid() % 300;
    while (exists("/tmp/.X" + std::to_string(n) + "-lock") ||
           exists("/tmp/.X11-unix/X" + std::to_string(n)))
        ++n;
    name_ = ":" + std::to_string(n);
    serverPid_ = spawn(
        {"Xvfb", name_, "-screen", "0", "640x480x24", "-nolisten", "tcp", "-noreset"}, name_, true);
    for (int i = 0; i < 400 && !display_; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        if (exists("/tmp/.X11-unix/X" + std::to_string(n)))
            display_ = XOpenDisplay(name_.c_str());
    }
    if (!display_)
        throw std::runtime_error("Xvfb did not start on " + name_);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, True);
}

XServer::~XServer() {
    if (display_)
        XCloseDisplay(display_);
    stop(serverPid_);
}

XServer::Launch XServer::launch(const std::vector<std::string> &argv) {
    XSync(display_, True); // forget earlier events
    Launch result;
    const auto start = std::chrono::steady_clock::now();
    result.pid = spawn(argv, name_, true);
    for (;;) {
        XEvent e;
        XNextEvent(display_, &e);
        if (e.type == MapNotify) {
            result.toMapped = std::chrono::steady_clock::now() - start;
            result.window = e.xmap.window;
            return result;
        }
    }
}

void XServer::stop(int pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

long residentKiB(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

DesktopSession::DesktopSession() {
    std::vector<std::pair<std::string, std::string>> kept;
    for (const char *name : {"PATH", "HOME", "USER", "LOGNAME", "TMPDIR"})
        if (const char *value = std::getenv(name))
            kept.emplace_back(name, value);
    clearenv();
    for (const auto &[name, value] : kept)
        setenv(name.c_str(), value.c_str(), 1);
    setenv("LANG", "C.UTF-8", 1);

    char dir[] = "/tmp/quorvel-bench-XXXXXX";
    if (!mkdtemp(dir))
        throw std::runtime_error(std::string("cannot make a runtime folder: ") +
                                 std::strerror(errno));
    runtimeDir_ = dir;
    setenv("XDG_RUNTIME_DIR", dir, 1);

    int address[2];
    if (pipe(address) != 0)
        throw std::runtime_error("cannot make a pipe");
    busPid_ = fork();
    if (busPid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // no bus left behind
        // Quiet: as root in a container it warns that it cannot raise its file limit.
        silence();
        const std::string fd = "--print-address=" + std::to_string(address[1]);
        close(address[0]);
        execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile", fd.c_str(),
               static_cast<char *>(nullptr));
        _exit(127);
    }
    close(address[1]);
    char c;
    while (read(address[0], &c, 1) == 1 && c != '\n')
        bus_ += c;
    close(address[0]);
    if (bus_.empty()) {
        int status = 0;
        waitpid(busPid_, &status, 0);
        busPid_ = -1;
        throw std::runtime_error(WIFEXITED(status) && WEXITSTATUS(status) == 127
                                     ? "dbus-daemon is not installed (Debian package dbus)"
                                     : "dbus-daemon did not start a session bus");
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", bus_.c_str(), 1);
}

DesktopSession::~DesktopSession() {
    XServer::stop(busPid_);
    std::error_code ignored;
    std::filesystem::remove_all(runtimeDir_, ignored);
}
