#!/usr/bin/env bash
# Two releases of the same commit, from clones in two folders of different
# depths, one after the other (so at two times of day), each under its own
# umask, time zone and locale, must give the same SHA256SUMS. The second
# builds on tmpfs where there is room (/dev/shm), which lists a folder's
# entries in another order than ext4 and gives folders other sizes. On a
# difference, diffoscope's report on the first file that differs.
# Each release must also hold its six files, named after the project's
# version; check with sha256sum -c; carry no path of the folder it was built
# in; have the notices of the code of others in each zip; and leave its
# clone's work tree as it was.
set -euo pipefail
. "$(dirname "$0")/common.sh"

#        folder            umask  TZ                  builds on  locale
runs=(  "one               022    UTC                 disk       LC_ALL=C"
        "second/run/two    077    Pacific/Kiritimati  tmpfs      LANG=C.UTF-8 LANGUAGE=de" )

expected="quorvel-$version-web.zip
quorvel-$version-windows-x64-setup.exe
quorvel-$version-windows-x64.zip
quorvel-$version.tar.gz
quorvel_${version}_amd64.deb
SHA256SUMS"

dists=()
for run in "${runs[@]}"; do
    read -r folder mask zone builds_on locale <<<"$run"
    dir=$tmp/$folder/quorvel
    clone "$dir"
    before=$(git -C "$dir" status --porcelain --ignored)
    build_tmp=${TMPDIR:-/tmp}
    if [ "$builds_on" = tmpfs ]; then
        if [ "$(df --output=avail /dev/shm 2>/dev/null | tail -1)" -gt 1048576 ] 2>/dev/null; then
            build_tmp=$(mktemp -d /dev/shm/quorvel-release-test.XXXXXX)
            cleanups+=("rm -rf '$build_tmp'")
        else
            echo "no room on /dev/shm: the second release builds in $build_tmp too"
        fi
    fi
    (
        umask "$mask"
        export TMPDIR=$build_tmp
        unset LC_ALL LANG LANGUAGE
        export TZ=$zone
        export ${locale?}
        echo "umask $mask, TZ=$TZ, $locale, building in $TMPDIR:"
        release "$dir" "$tmp/$(basename "$folder").log"
    )
    grep -q '^Not signing: no certificate' "$tmp/$(basename "$folder").log" ||
        fail "an unsigned release does not say so"
    after=$(git -C "$dir" status --porcelain --ignored)
    [ "$after" = "$(printf '%s\n!! dist/' "$before" | sed '/^$/d')" ] ||
        fail "the release changed the work tree of $dir: $after"
    [ "$(cd "$dir/dist" && LC_ALL=C ls -1 | LC_ALL=C sort -f)" = "$(LC_ALL=C sort -f <<<"$expected")" ] ||
        fail "dist/ holds: $(ls "$dir/dist")"
    (cd "$dir/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not check"

    # No path of the folder the release was built in, in any file it made.
    unpacked=$tmp/unpacked-$(basename "$folder")
    mkdir -p "$unpacked"
    dpkg-deb -x "$dir/dist/quorvel_${version}_amd64.deb" "$unpacked/deb"
    for zip in "$dir"/dist/*.zip; do python3 -m zipfile -e "$zip" "$unpacked/$(basename "$zip")"; done
    leaks=$(grep -rlaF -e "$tmp" -e quorvel-release. "$unpacked" || true)
    [ -z "$leaks" ] || fail "build paths in: $leaks"
    # Each zip's notices of the code of others, which the page's licence names.
    for zipped in "quorvel-$version-windows-x64.zip/quorvel-$version-windows-x64" "quorvel-$version-web.zip"; do
        grep -q '^Third-party notices for ' "$unpacked/$zipped/THIRD-PARTY-NOTICES.txt" ||
            fail "no THIRD-PARTY-NOTICES.txt in ${zipped%%/*}"
    done
    grep -q 'THIRD-PARTY-NOTICES.txt' "$unpacked/quorvel-$version-web.zip/LICENSE.txt" ||
        fail "the page's LICENSE.txt does not name its notices"
    dists+=("$dir/dist")
done
echo "each release: the six files, SHA256SUMS checks, no build paths, the work tree as it was"

if ! cmp -s "${dists[0]}/SHA256SUMS" "${dists[1]}/SHA256SUMS"; then
    diff "${dists[0]}/SHA256SUMS" "${dists[1]}/SHA256SUMS" || true
    while read -r _ file; do
        cmp -s "${dists[0]}/$file" "${dists[1]}/$file" && continue
        echo "diffoscope on $file:"
        diffoscope --text - "${dists[0]}/$file" "${dists[1]}/$file" 2>&1 | head -n 300 || true
        break
    done <"${dists[0]}/SHA256SUMS"
    fail "two releases of the same commit differ"
fi
echo "two releases, byte for byte the same:"
cat "${dists[0]}/SHA256SUMS"
