#!/usr/bin/env bash
# The program in a Wayland session without a screen (weston's headless
# backend, with an X server for X programs): where the session offers an X
# server, the window shows there, where it keeps its place; with no X server
# reachable it shows on Wayland itself.
set -euo pipefail
program=$1
work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=quorvel-test
unset DISPLAY QT_QPA_PLATFORM
app=
cleanup() {
    [ -z "$app" ] || kill "$app" 2>/dev/null || true
    kill "$compositor" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --xwayland \
    --log="$work/weston.log" >/dev/null 2>&1 &
compositor=$!
trap cleanup EXIT
x=
for _ in $(seq 200); do
    x=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" 2>/dev/null || true)
    [ -n "$x" ] && break
    sleep 0.05
done
[ -n "$x" ] || { echo "weston did not start"; cat "$work/weston.log"; exit 1; }

# Starts the program with the given DISPLAY (empty: unset) and waits for its
# window on Wayland, as the Wayland library's protocol trace shows it.
shows_on_wayland() {
    if [ -n "$1" ]; then export DISPLAY=$1; else unset DISPLAY; fi
    WAYLAND_DEBUG=client "$program" 2>"$work/trace" &
    app=$!
    for _ in $(seq 200); do
        grep -q 'set_title("Quorvel v1.2")' "$work/trace" && break
        kill -0 "$app" 2>/dev/null || break
        sleep 0.05
    done
    grep -q 'set_title("Quorvel v1.2")' "$work/trace" || { echo "no window on Wayland (DISPLAY=$1)"; exit 1; }
    kill "$app"
    wait "$app" 2>/dev/null || true
}

# With an X server in the session: an X window there.
DISPLAY=$x "$program" 2>"$work/stderr" &
app=$!
DISPLAY=$x timeout 20 xdotool search --sync --onlyvisible --name '^Quorvel v1\.2$' >/dev/null ||
    { echo "no X window on $x"; exit 1; }
kill "$app"
wait "$app" 2>/dev/null || true
test ! -s "$work/stderr" || { cat "$work/stderr"; exit 1; }
echo "with an X server at $x: an X window"

n=4095
while [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n - 1)); done
shows_on_wayland ""
echo "without an X server: a Wayland window"
shows_on_wayland ":$n"
echo "with an X server that cannot be opened: a Wayland window"
