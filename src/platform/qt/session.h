// What the Qt peer decides about the desktop session before Qt starts: which
// display to show the window on, and whether a session bus can be had.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform::qt {

// Where the window will be shown, from the environment of the session.
struct Display {
    // The platforms for Qt to try, in turn; empty when the user chose one
    // through QT_QPA_PLATFORM, or when there is nothing to try.
    QByteArray platform;
    // Why the window could not be shown if none of them starts; with no
    // platform to try, why it cannot be shown at all. Empty when the choice
    // is the user's, and only Qt knows the cause.
    QString failure;
};

// An X server, where the session has one, keeps the window at its place on the
// screen: on Wayland no program may choose its place. So DISPLAY comes first,
// also in a Wayland session that offers an X server; Wayland alone is used
// only when no X server is set or it cannot be opened.
Display chooseDisplay();

// Without a session bus to reach, the D-Bus library falls back on starting
// dbus-launch, which costs a process spawn on the way to the first window
// even where no dbus-launch is installed. When there is no bus address, no
// bus socket under XDG_RUNTIME_DIR and no dbus-launch, sets the session bus
// address to "disabled:" so that the attempt fails at once, as it would have
// failed anyway. Leaves the environment alone in every other case.
void skipHopelessBusLaunch();

} // namespace platform::qt
