#!/usr/bin/env bash
# Builds the .deb and has lintian, Debian's package checker, find no error and
# no warning in it, and, among its pedantic and info tags too, none on
# hardening and no unneeded section; installs it with apt, checks that the
# program is stripped and hardened as Debian's own (hardening-check),
# that the manual page, the copyright and the changelog are in place and agree
# with the package and the project, starts it in an X server, sees its window,
# closes it (status 1), and removes the package.
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
version=$(dpkg-deb -f "$deb" Version)

# lintian says, as root, that it should not run as root: that line is no finding.
# Its other info and pedantic tags are shown, not failed on.
status=0
lintian --fail-on error,warning -I --pedantic "$deb" >"$work/lintian.out" 2>"$work/lintian.err" ||
    status=$?
cat "$work/lintian.out"
grep -v 'running with root privileges is not recommended' "$work/lintian.err" >&2 || true
test "$status" -eq 0 || { echo "lintian finds errors or warnings (status $status)"; exit 1; }
! grep -qE ': (hardening-[a-z-]+|binary-has-unneeded-section) ' "$work/lintian.out" ||
    { echo "lintian finds the program less hardened or less stripped than Debian's own"; exit 1; }
echo "lintian: no errors, no warnings, nothing on hardening"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
test "$(command -v quorvel)" = /usr/bin/quorvel
test -f /usr/share/applications/quorvel.desktop
file -L /usr/bin/quorvel | grep -q ', stripped' || { file /usr/bin/quorvel; exit 1; }
# Control-flow protection cannot be marked on Debian 12, whose C start files
# carry no mark of it: the linker drops it.
hardening-check --nocfprotection /usr/bin/quorvel ||
    { echo "hardening-check: /usr/bin/quorvel is not hardened as Debian's own programs"; exit 1; }

# The manual page where man finds it, for this version.
doc=/usr/share/doc/quorvel
test "$(man -w quorvel)" = /usr/share/man/man1/quorvel.1.gz ||
    { echo "man finds no page quorvel(1) in /usr/share/man"; exit 1; }
zcat /usr/share/man/man1/quorvel.1.gz | grep -q "^\.TH QUORVEL 1 .* \"Quorvel $version\"" ||
    { echo "the manual page is not the one of version $version"; exit 1; }
# The changelog's latest entry is this version, dated as the AppStream metadata
# dates its release.
zcat "$doc/changelog.gz" >"$work/changelog"
test "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ||
    { echo "the changelog's latest entry is not version $version"; exit 1; }
released=$(date -u -d "$(dpkg-parsechangelog -l "$work/changelog" -S Date)" +%F)
grep -q "<release version=\"$version\" date=\"$released\"" \
    /usr/share/metainfo/org.quorvel.Quorvel.metainfo.xml ||
    { echo "the metadata has no release $version dated $released, as the changelog has"; exit 1; }
# The copyright file's MIT licence is the project's LICENSE, word for word.
awk 'on && /^ / {sub(/^ /, ""); if ($0 == ".") $0 = ""; print; next} on {exit}
     prev == "" && $0 == "License: MIT" {on = 1} {prev = $0}' "$doc/copyright" >"$work/mit"
sed -n '/^Copyright (c) /,$p' "$source_dir/LICENSE" | tail -n +3 | diff "$work/mit" - ||
    { echo "the licence in $doc/copyright is not LICENSE's"; exit 1; }
holder=$(sed -n 's/^Copyright (c) //p' "$source_dir/LICENSE")
grep -qx "Copyright: $holder" "$doc/copyright" || { echo "no Copyright: $holder"; exit 1; }
echo "manual page, changelog and copyright of version $version in place"

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
test ! -e /usr/share/man/man1/quorvel.1.gz
echo "package installs, runs, closes with status 1 and uninstalls"
