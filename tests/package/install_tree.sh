#!/usr/bin/env bash
# Installs the build into a scratch prefix and validates what a desktop needs:
# the executable, the desktop entry, the icon and the AppStream metadata.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
test -x "$prefix/bin/quorvel"
test -s "$share/icons/hicolor/scalable/apps/quorvel.svg"
desktop-file-validate "$share/applications/quorvel.desktop"
grep -qx 'Categories=Game;BoardGame;' "$share/applications/quorvel.desktop"
appstreamcli validate --no-net "$share/metainfo/org.quorvel.Quorvel.metainfo.xml"
echo "installed tree is valid"
