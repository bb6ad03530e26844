// A bare Xlib window of Quorvel's size: the floor for start-up.
#include <X11/Xlib.h>

int main() {
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 50, 50, 208, 257,
                                              0, 0, WhitePixel(display, 0));
    XSelectInput(display, window, ExposureMask);
    XMapWindow(display, window);
    for (;;) {
        XEvent e;
        XNextEvent(display, &e);
    }
}
