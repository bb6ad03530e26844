# Sourced by scripts and tests that run the Windows program under Wine.
#
#   wine_env DIR          exports a Wine set-up of its own under DIR: the prefix
#                         DIR/prefix, HOME DIR/home, no debug chatter, no Mono
#                         or Gecko prompts, no menu files written anywhere
#   make_wine_prefix DIR  wine_env, then a new prefix with the settings below,
#                         and its wineserver left running (-p) so that every
#                         program started next comes up fast
#   stop_wine             ends the prefix's wineserver and its Windows processes
#
# With no window manager, a Windows program shows on start_x_server's Xvfb
# (scripts/lib/x-session.sh, sourced here) as it would on Windows.
#
# The settings: Wine draws title bars and borders itself, as Windows does, so
# that with no window manager a window's outer frame lands exactly where the
# program puts it; "Arial" resolves to Liberation Sans, which has its metrics;
# 96 dpi.

. "$(dirname "${BASH_SOURCE[0]}")/x-session.sh"

wine_env() {
    export WINEPREFIX="$1/prefix" HOME="$1/home"
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

make_wine_prefix() {
    wine_env "$1"
    rm -rf "$WINEPREFIX"
    mkdir -p "$HOME"
    local settings="$1/settings.reg"
    cat >"$settings" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060
EOF
    # No window may show while the prefix is made, and everything started
    # then ends before the server is kept: Wine's desktop process, which the
    # next window program starts, serves all that follow, and must start
    # where there is a display.
    (unset DISPLAY WAYLAND_DISPLAY && wineboot -u && wine regedit /S "$settings" && wineserver -w) \
        >/dev/null 2>&1 || { echo "could not make a Wine prefix in $WINEPREFIX" >&2; return 1; }
    # The symbols of the title bar's buttons (fonts-wine); Wine looks for
    # them among Windows' own fonts.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -p </dev/null >/dev/null 2>&1
}

stop_wine() {
    [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true
}
