// Start-up of quorvel.exe under Wine against a minimal Win32 window built the
// same way, and that window with one caption (what text costs): started in
// turns, twenty times each, on one private Xvfb with no window manager and a
// wineserver that stays up between runs (the prefix in WINEPREFIX;
// bench/windows/startup sets it up). Prints the time from start to the
// window mapped, median and spread, the size of each file, and the ratios
// against the targets.
//
// Usage: wine_startup_bench QUORVEL_EXE MINIMAL_EXE [ROUNDS]
#include "x11/x_server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Samples {
    std::string name;
    std::vector<std::string> command;
    std::vector<double> ms;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Starts one program and ends it once its window is mapped; false if the
// window mapped is not a top-level window of the program's size.
bool run(XServer &x, Samples &s, bool measured) {
    const XServer::Launch launch = x.launch(s.command);
    XWindowAttributes attributes{};
    XGetWindowAttributes(x.display(), launch.window, &attributes);
    // Let it finish its first paint before it is stopped.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    XServer::stop(launch.pid);
    // Wine ends the process's windows after the process: wait for them.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (measured)
        s.ms.push_back(std::chrono::duration<double, std::milli>(launch.toMapped).count());
    return attributes.width == 208 && attributes.height == 257;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s QUORVEL_EXE MINIMAL_EXE [ROUNDS]\n", argv[0]);
        return 2;
    }
    if (!std::getenv("WINEPREFIX")) {
        std::fprintf(stderr,
                     "%s: set WINEPREFIX to a prefix whose wineserver runs "
                     "(bench/windows/startup does)\n",
                     argv[0]);
        return 2;
    }
    std::vector<Samples> all = {{"quorvel.exe", {"wine", argv[1]}, {}},
                                {"minimal Win32 window", {"wine", argv[2]}, {}},
                                {"with one caption", {"wine", argv[2], "caption"}, {}}};
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 20;
    XServer x;
    // One unmeasured start of each: every file in the page cache, Wine's
    // desktop process up.
    for (auto &s : all)
        if (!run(x, s, false)) {
            std::fprintf(stderr, "%s: the first window of %s is not 208 x 257\n", argv[0],
                         s.name.c_str());
            return 1;
        }
    for (int round = 0; round < rounds; ++round)
        for (auto &s : all)
            run(x, s, true);

    std::printf("%d rounds, interleaved, under Wine with its wineserver running, on Xvfb %s "
                "without a window manager\n\n",
                rounds, x.name().c_str());
    std::printf("%-22s %28s %10s\n", "", "start to mapped, ms", "file");
    std::printf("%-22s %9s %18s %10s\n", "program", "median", "min .. max", "KiB");
    for (const auto &s : all) {
        const auto [tmin, tmax] = std::minmax_element(s.ms.begin(), s.ms.end());
        std::printf("%-22s %9.1f %8.1f .. %6.1f %10.1f\n", s.name.c_str(), median(s.ms), *tmin,
                    *tmax, std::filesystem::file_size(s.command[1]) / 1024.0);
    }
    std::printf("\nquorvel.exe / minimal window: time %.2f (target 1.2 at most), "
                "file %.2f MiB (target under 1)\n",
                median(all[0].ms) / median(all[1].ms),
                std::filesystem::file_size(all[0].command[1]) / 1048576.0);
    std::printf("quorvel.exe / window with one caption: time %.2f\n",
                median(all[0].ms) / median(all[2].ms));
    return 0;
}
