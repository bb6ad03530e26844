// Start-up of the real quorvel against a minimal Qt Widgets window and a bare
// Xlib window, on a private Xvfb: time from process start to the window being
// mapped, and resident memory once it is mapped. Runs them interleaved,
// twenty times each, and prints median and spread, then the ratios. A fourth
// program, a Qt window with one caption, may be given to show what text costs.
//
// Usage: startup_bench QUORVEL MINIMAL_QT BARE_XLIB [CAPTION_QT] [ROUNDS]
#include "x11/x_server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Samples {
    std::string name;
    std::string program;
    std::vector<double> ms;
    std::vector<double> mib;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s QUORVEL MINIMAL_QT BARE_XLIB [CAPTION_QT] [ROUNDS]\n",
                     argv[0]);
        return 2;
    }
    std::vector<Samples> all = {{"quorvel", argv[1], {}, {}},
                                {"minimal Qt window", argv[2], {}, {}},
                                {"bare Xlib window", argv[3], {}, {}}};
    int rounds = 20;
    for (int i = 4; i < argc; ++i) {
        if (std::string(argv[i]).find_first_not_of("0123456789") == std::string::npos)
            rounds = std::atoi(argv[i]);
        else
            all.push_back({"Qt window, 1 caption", argv[i], {}, {}});
    }
    XServer x;
    // One unmeasured start of each, so that every program is in the page cache.
    for (auto &s : all)
        XServer::stop(x.launch({s.program}).pid);

    for (int round = 0; round < rounds; ++round) {
        for (auto &s : all) {
            const XServer::Launch run = x.launch({s.program});
            // Resident memory once the window is mapped and has had its first paint.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            s.ms.push_back(std::chrono::duration<double, std::milli>(run.toMapped).count());
            s.mib.push_back(residentKiB(run.pid) / 1024.0);
            XServer::stop(run.pid);
        }
    }

    std::printf("%d rounds, interleaved, on Xvfb %s without a window manager\n\n", rounds,
                x.name().c_str());
    std::printf("%-20s %28s %28s\n", "", "start to mapped, ms", "resident once mapped, MiB");
    std::printf("%-20s %9s %18s %9s %18s\n", "program", "median", "min .. max", "median",
                "min .. max");
    for (const auto &s : all) {
        const auto [tmin, tmax] = std::minmax_element(s.ms.begin(), s.ms.end());
        const auto [mmin, mmax] = std::minmax_element(s.mib.begin(), s.mib.end());
        std::printf("%-20s %9.1f %8.1f .. %6.1f %9.1f %8.1f .. %6.1f\n", s.name.c_str(),
                    median(s.ms), *tmin, *tmax, median(s.mib), *mmin, *mmax);
    }
    std::printf("\n");
    for (std::size_t i = 1; i < all.size(); ++i)
        std::printf("quorvel / %-22s time %5.2f   memory %5.2f\n", all[i].name.c_str(),
                    median(all[0].ms) / median(all[i].ms), median(all[0].mib) / median(all[i].mib));
    return 0;
}
