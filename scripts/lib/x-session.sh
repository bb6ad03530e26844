# Sourced by scripts that need a real X server: starts Xvfb and openbox on a
# free display and exports DISPLAY; stop_x_session stops both. Unless the
# caller has an EXIT trap of its own, they are stopped when the script exits.
# Usage: start_x_session WIDTHxHEIGHT
start_x_session() {
    local n=$((200 + $$ % 500))
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${1:-640x480}x24" -nolisten tcp >/dev/null 2>&1 &
    x_server=$!
    export DISPLAY=":$n"
    unset QT_QPA_PLATFORM # programs started from here use this server
    for _ in $(seq 200); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    openbox >/dev/null 2>&1 &
    x_manager=$!
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
    [ -n "$(trap -p EXIT)" ] || trap stop_x_session EXIT
}

stop_x_session() {
    kill "${x_manager:-}" "${x_server:-}" 2>/dev/null || true
}
