#!/usr/bin/env bash
# Installs the build into scratch prefixes and validates what a desktop needs:
# the executable (stripped), the desktop entry, the icon, the AppStream
# metadata, the manual page, the copyright and the changelog. Then uninstalls,
# and finds every prefix exactly as it was: one whose share/applications held
# another program's entry, installed into twice; one that did not exist; /usr
# staged under DESTDIR, as a packager does.
set -euo pipefail
build=$1
base=$(mktemp -d)
kept=$base/kept
fresh=$base/fresh/usr
stage=$base/stage
cleanup() {
    # A failed run leaves no record of its scratch installs in the build tree.
    for prefix in "$kept" "$fresh" "$stage/usr"; do
        cmake -P "$build/uninstall.cmake" "$prefix" >/dev/null 2>&1 || true
    done
    rm -rf "$base"
}
trap cleanup EXIT
mkdir -p "$kept/share/applications" "$kept/share/icons/hicolor"
echo '[Desktop Entry]' >"$kept/share/applications/other.desktop"

# Type, mode, size and content of everything under the scratch folder.
tree() { (cd "$base" && find . -printf '%y %m %s %p\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(tree)

for prefix in "$kept" "$kept" "$fresh"; do
    cmake --install "$build" --prefix "$prefix" --strip >/dev/null
done
DESTDIR=$stage cmake --install "$build" --prefix /usr --strip >/dev/null

for prefix in "$kept" "$fresh" "$stage/usr"; do
    share=$prefix/share
    test -x "$prefix/bin/quorvel"
    file -L "$prefix/bin/quorvel" | grep -q ', stripped' || { file "$prefix/bin/quorvel"; exit 1; }
    test -s "$share/icons/hicolor/scalable/apps/quorvel.svg"
    gzip -t "$share/man/man1/quorvel.1.gz" "$share/doc/quorvel/changelog.gz"
    test -s "$share/doc/quorvel/copyright"
    desktop-file-validate "$share/applications/quorvel.desktop"
    grep -qx 'Categories=Game;BoardGame;' "$share/applications/quorvel.desktop"
    appstreamcli validate --no-net "$share/metainfo/org.quorvel.Quorvel.metainfo.xml" >/dev/null
done
echo "installed trees are valid"

# Two installs recorded: the uninstall needs to be told which.
if cmake -P "$build/uninstall.cmake" >/dev/null 2>&1; then
    echo "uninstall without a prefix went ahead with two installs recorded"
    exit 1
fi
cmake -P "$build/uninstall.cmake" "$kept" >/dev/null
test -x "$fresh/bin/quorvel" || { echo "uninstalling one prefix touched the other"; exit 1; }
cmake -P "$build/uninstall.cmake" "$fresh" >/dev/null
DESTDIR=$stage cmake -P "$build/uninstall.cmake" /usr >/dev/null
diff <(echo "$before") <(tree) || { echo "uninstall left the prefixes changed"; exit 1; }
echo "uninstall leaves the prefixes as they were"
