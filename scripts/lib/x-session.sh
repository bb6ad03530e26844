# Sourced by scripts that need a real X server.
#   start_x_server WxH    Xvfb alone, with no window manager, on a free display;
#                         exports DISPLAY
#   start_x_session WxH   the same with openbox managing it
#   stop_x_session        stops whichever of the two was started
#   shoot_worked_example OUT  types a worked example into the window whose
#                         outer frame is at (50, 50), calculates it, and saves
#                         the window's picture to OUT
#   shoot_tooltip OUT     then rests the pointer on the verdict and saves the
#                         window with the tooltip that opens, the screen around
#                         them transparent, to OUT
# Unless the caller has an EXIT trap of its own, start_x_session's server and
# manager are stopped when the script exits.
start_x_server() {
    local n=$((200 + $$ % 500))
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    # -noreset: without it the server resets whenever its last client leaves.
    Xvfb ":$n" -screen 0 "${1:-640x480}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    x_server=$!
    export DISPLAY=":$n"
    unset QT_QPA_PLATFORM # programs started from here use this server
    # The socket appears before the server takes clients: wait for an answer.
    for _ in $(seq 200); do xprop -root >/dev/null 2>&1 && return 0; sleep 0.05; done
    echo "Xvfb did not start on $DISPLAY" >&2
    return 1
}

start_x_session() {
    start_x_server "$1"
    for _ in 1 2 3; do
        openbox >/dev/null 2>&1 &
        x_manager=$!
        for _ in $(seq 200); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break 2
            kill -0 "$x_manager" 2>/dev/null || break # it gave up: start it again
            sleep 0.05
        done
    done
    [ -n "$(trap -p EXIT)" ] || trap stop_x_session EXIT
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { echo "openbox did not start on $DISPLAY" >&2; return 1; }
}

stop_x_session() {
    kill "${x_manager:-}" "${x_server:-}" 2>/dev/null || true
}

shoot_worked_example() {
    local out=$1 entry
    # The fields start 152 pixels right of the outer frame's corner.
    for entry in "30 2" "54 3" "79 1" "102 4" "129 0"; do
        set -- $entry
        xdotool mousemove $((50 + 172)) $((50 + $1 + 10)) click 1 type -- "$2"
    done
    xdotool mousemove $((50 + 66)) $((50 + 205)) click 1 # "Calculate"
    xdotool mousemove 300 310
    sleep 0.3
    mkdir -p "$(dirname "$out")"
    import -window root -crop 208x257+50+50 +repage "$out"
}

shoot_tooltip() {
    local out=$1 work box w h x y
    work=$(mktemp -d)
    import -window root "$work/before.png"
    xdotool mousemove $((50 + 100)) $((50 + 236)) # the verdict
    sleep 1.5
    import -window root "$work/after.png"
    # What changed is the tooltip: its box, as W H X Y.
    box=$(convert "$work/before.png" "$work/after.png" -compose difference -composite \
        -threshold 0 -format '%@' info: | tr 'x+' '  ')
    read -r w h x y <<<"$box"
    rm -rf "$work/before.png"
    [ "$w" -gt 1 ] || { echo "no tooltip on the verdict" >&2; rm -rf "$work"; return 1; }
    local left=$((x < 50 ? x : 50)) top=$((y < 50 ? y : 50))
    local right=$((x + w > 258 ? x + w : 258)) bottom=$((y + h > 307 ? y + h : 307))
    mkdir -p "$(dirname "$out")"
    convert "$work/after.png" \
        \( +clone -evaluate set 0 -fill white -draw "rectangle 50,50 257,306" \
        -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))" \) \
        -alpha off -compose CopyOpacity -composite \
        -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out"
    rm -rf "$work"
}
