// Start-up of the real quorvel against a minimal Qt Widgets window and a bare
// Xlib window, on a private Xvfb: time from process start to the window being
// mapped, and resident memory once it is mapped. A fourth program, a Qt window
// with one caption, may be given to show what text costs.
//
// Every program starts as it would on a desktop: inside a session bus, which
// the benchmark starts itself, in an environment that is the same on every
// machine (see DesktopSession). Each is also started with no session bus
// at all, as on a bare machine or in CI. Programs and the two cases are
// interleaved, twenty rounds by default; it prints median and spread, then the
// ratios, for each case.
//
// Usage: startup_bench QUORVEL MINIMAL_QT BARE_XLIB [CAPTION_QT] [ROUNDS]
#include "x11/x_server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Program {
    std::string name;
    std::string path;
};

struct Samples {
    std::vector<double> ms;
    std::vector<double> mib;
};

struct Case {
    const char *title;
    bool bus;
    std::vector<Samples> samples; // one per program
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool dbusLaunchInstalled() {
    for (const char *dir : {"/usr/bin", "/usr/local/bin", "/bin"})
        if (access((std::string(dir) + "/dbus-launch").c_str(), X_OK) == 0)
            return true;
    return false;
}

void printCase(const Case &c, const std::vector<Program> &programs) {
    std::printf("%s\n", c.title);
    std::printf("%-22s %28s %28s\n", "", "start to mapped, ms", "resident once mapped, MiB");
    std::printf("%-22s %9s %18s %9s %18s\n", "program", "median", "min .. max", "median",
                "min .. max");
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const Samples &s = c.samples[i];
        const auto [tmin, tmax] = std::minmax_element(s.ms.begin(), s.ms.end());
        const auto [mmin, mmax] = std::minmax_element(s.mib.begin(), s.mib.end());
        std::printf("%-22s %9.1f %8.1f .. %6.1f %9.1f %8.1f .. %6.1f\n", programs[i].name.c_str(),
                    median(s.ms), *tmin, *tmax, median(s.mib), *mmin, *mmax);
    }
    const Samples &q = c.samples[0];
    for (std::size_t i = 1; i < programs.size(); ++i)
        std::printf("quorvel / %-22s time %5.2f   memory %5.2f\n", programs[i].name.c_str(),
                    median(q.ms) / median(c.samples[i].ms),
                    median(q.mib) / median(c.samples[i].mib));
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s QUORVEL MINIMAL_QT BARE_XLIB [CAPTION_QT] [ROUNDS]\n",
                     argv[0]);
        return 2;
    }
    const DesktopSession session;
    const std::string &bus = session.busAddress();

    std::vector<Program> programs = {
        {"quorvel", argv[1]}, {"minimal Qt window", argv[2]}, {"bare Xlib window", argv[3]}};
    int rounds = 20;
    for (int i = 4; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.find_first_not_of("0123456789") == std::string::npos && arg.size() < 5)
            rounds = std::max(1, std::atoi(argv[i]));
        else
            programs.push_back({"Qt window, 1 caption", arg});
    }

    const std::string noBus = std::string("without a session bus, as on a bare machine (") +
                              (dbusLaunchInstalled() ? "dbus-launch installed" : "no dbus-launch") +
                              ")";
    std::vector<Case> cases = {{"with a session bus, as on a desktop", true, {}},
                               {noBus.c_str(), false, {}}};
    for (auto &c : cases)
        c.samples.resize(programs.size());

    const auto launch = [&](XServer &x, const Program &p, bool withBus) {
        if (withBus)
            setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
        else
            unsetenv("DBUS_SESSION_BUS_ADDRESS");
        return x.launch({p.path});
    };

    XServer x;
    // One unmeasured start of each, so that every program is in the page cache
    // and whatever a program starts once per session is running.
    for (const auto &c : cases)
        for (const auto &p : programs)
            XServer::stop(launch(x, p, c.bus).pid);

    for (int round = 0; round < rounds; ++round) {
        for (auto &c : cases) {
            for (std::size_t i = 0; i < programs.size(); ++i) {
                const XServer::Launch run = launch(x, programs[i], c.bus);
                // Resident memory once the window is mapped and has had its first paint.
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                c.samples[i].ms.push_back(
                    std::chrono::duration<double, std::milli>(run.toMapped).count());
                c.samples[i].mib.push_back(residentKiB(run.pid) / 1024.0);
                XServer::stop(run.pid);
            }
        }
    }

    std::printf("%d rounds, interleaved, on Xvfb %s without a window manager\n\n", rounds,
                x.name().c_str());
    for (const auto &c : cases)
        printCase(c, programs);
    return 0;
}
