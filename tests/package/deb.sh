#!/usr/bin/env bash
# Builds the .deb, installs it with apt, checks that the program is stripped,
# starts it in an X server, sees its window, closes it (status 1), and removes
# the package.
set -euo pipefail
build=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
if [ "$(id -u)" -ne 0 ]; then echo "needs root to install a package"; exit 77; fi
if dpkg -s quorvel >/dev/null 2>&1; then echo "quorvel is installed already; left alone"; exit 77; fi

work=$(mktemp -d)
cleanup() {
    apt-get remove -y -qq quorvel >/dev/null 2>&1 || true
    rm -rf "$work"
    stop_x_session
}
. "$source_dir/scripts/lib/x-session.sh"
trap cleanup EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB >/dev/null)
deb=$(ls "$work"/quorvel_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends"
grep -q 'fonts-liberation2' <<<"$depends"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
test "$(command -v quorvel)" = /usr/bin/quorvel
test -f /usr/share/applications/quorvel.desktop
file -L /usr/bin/quorvel | grep -q ', stripped' || { file /usr/bin/quorvel; exit 1; }

start_x_session 640x480
/usr/bin/quorvel 2>"$work/stderr" &
app=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Quorvel v1\.2$' >/dev/null
wmctrl -c 'Quorvel v1.2'
status=0
wait $app || status=$?
test "$status" -eq 1 || { echo "exit status $status, not 1"; exit 1; }
test ! -s "$work/stderr" || { cat "$work/stderr"; exit 1; }

apt-get remove -y -qq quorvel >/dev/null
test ! -e /usr/bin/quorvel
echo "package installs, runs, closes with status 1 and uninstalls"
