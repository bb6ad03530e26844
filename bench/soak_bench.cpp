// Long use: presses "Calculate" with varied inputs and "Clear", alternating,
// in the real quorvel on a private Xvfb, with keys and clicks sent through
// XTest as a user's would be, inside a session bus as on a desktop. Prints
// resident memory before and after; more than 1 % growth is a leak to find.
//
// Usage: soak_bench QUORVEL [PRESSES]
#include "los/line_of_sight.h"
#include "platform/decimal.h"
#include "x11/x_server.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

struct Point {
    int x, y;
};

// Places on the form, from the window's top-left corner.
constexpr Point fields[] = {{172, 40}, {172, 64}, {172, 89}, {172, 112}, {172, 139}};
constexpr Point crestBox{146, 170}, calculate{66, 205}, clearButton{142, 205}, panel{12, 224};

class User {
public:
    User(Display *d, Window w) : d_(d), w_(w) {
        Window child;
        XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &origin_.x, &origin_.y, &child);
    }

    void click(Point p) {
        XTestFakeMotionEvent(d_, -1, origin_.x + p.x, origin_.y + p.y, 0);
        XTestFakeButtonEvent(d_, 1, True, 0);
        XTestFakeButtonEvent(d_, 1, False, 0);
        XFlush(d_);
    }

    void type(const std::string &text) {
        for (char c : text) {
            const KeySym sym = c == '.' ? XK_period : c == '-' ? XK_minus : XK_0 + (c - '0');
            const KeyCode code = XKeysymToKeycode(d_, sym);
            XTestFakeKeyEvent(d_, code, True, 0);
            XTestFakeKeyEvent(d_, code, False, 0);
        }
        XFlush(d_);
    }

    // Waits until the result panel shows the colour; false after 10 s.
    bool waitFor(los::Color colour) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            XImage *image = XGetImage(d_, w_, panel.x, panel.y, 1, 1, AllPlanes, ZPixmap);
            const unsigned long pixel = XGetPixel(image, 0, 0);
            XDestroyImage(image);
            if (los::Color{int(pixel >> 16 & 0xff), int(pixel >> 8 & 0xff), int(pixel & 0xff)} ==
                colour)
                return true;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return false;
    }

private:
    Display *d_;
    Window w_;
    Point origin_{};
};

// The i-th set of inputs: small heights and ranges, some fractional or negative.
los::Sighting inputs(int i, std::string (&texts)[5]) {
    const int v[5] = {i % 7, (i * 3) % 23 - 4, (i * 5) % 6, (i * 7) % 19, (i * 11) % 5};
    los::Sighting s{};
    float *values[] = {&s.hf, &s.ro, &s.ho, &s.rt, &s.ht};
    for (int k = 0; k < 5; ++k) {
        texts[k] = std::to_string(v[k]) + (i % 4 == k ? ".5" : "");
        *values[k] = *platform::parseFloat(texts[k]);
    }
    s.crest = i % 3 == 0;
    return s;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s QUORVEL [PRESSES]\n", argv[0]);
        return 2;
    }
    const int presses = argc > 2 ? std::atoi(argv[2]) : 20000;
    const DesktopSession session;
    XServer x;
    const XServer::Launch app = x.launch({argv[1]});
    User user(x.display(), app.window);
    if (!user.waitFor(los::amber)) {
        std::fprintf(stderr, "the window never showed its amber panel\n");
        return 1;
    }

    int cycle = 0;
    const auto run = [&](int cycles) {
        for (int end = cycle + cycles; cycle < end; ++cycle) {
            std::string texts[5];
            const los::Sighting s = inputs(cycle, texts);
            for (int k = 0; k < 5; ++k) {
                user.click(fields[k]);
                user.type(texts[k]);
            }
            if (s.crest)
                user.click(crestBox);
            // The panel goes from amber to the verdict's colour and back:
            // each press is seen through before the next, so that no backlog
            // of input builds up in the program, and each verdict is checked.
            user.click(calculate);
            if (!user.waitFor(los::judge(s).color))
                return false;
            user.click(clearButton);
            if (!user.waitFor(los::amber))
                return false;
        }
        return true;
    };

    if (!run(100)) { // warm-up: every code path used once before measuring
        std::fprintf(stderr, "wrong verdict or no answer during warm-up\n");
        return 1;
    }
    const long before = residentKiB(app.pid);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = run(presses / 2);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long after = residentKiB(app.pid);
    XServer::stop(app.pid);
    if (!ok) {
        std::fprintf(stderr, "wrong verdict or no answer at cycle %d\n", cycle);
        return 1;
    }
    const double growth = 100.0 * double(after - before) / double(before);
    std::printf("%d presses (Calculate and Clear alternating) in %.1f s\n", presses, seconds);
    std::printf("resident before %ld KiB, after %ld KiB, growth %+.2f %%%s\n", before, after,
                growth, growth > 1.0 ? "  LEAK?" : "");
    return growth > 1.0 ? 1 : 0;
}
