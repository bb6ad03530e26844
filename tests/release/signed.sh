#!/usr/bin/env bash
# The Windows part of a release signed with a throwaway self-signed
# certificate made here: osslsigncode verify accepts quorvel.exe in the zip,
# the installer, and the uninstaller that the installer puts in place (run
# silently under Wine) beside the zip's notices; the installed program is the
# zip's, and it still runs under Wine and gives a verdict (tst_desktop's
# keyboardAlone). From its signatures alone, a second clone makes the same
# signed release, byte for byte, without the key; a signature of other bytes
# is refused. A certificate without its password or a password without its
# certificate, a certificate with signatures to attach, or signatures that
# are not there stop the release before it builds anything. A change not
# committed is warned of and left out of the release.
# Usage: tests/release/signed.sh TST_DESKTOP   (from the Linux build, build/tests/tst_desktop)
set -euo pipefail
. "$(dirname "$0")/common.sh"
tst_desktop=$(realpath "$1")
. "$repo/scripts/lib/wine.sh"

dir=$tmp/quorvel
clone "$dir"

# A signer half given, given twice or not there is an error, said before
# anything is built.
#      certificate       password  signatures      said
half=("$tmp/signer.p12   -         -               signing needs both"
      "-                 secret    -               signing needs both"
      "$tmp/signer.p12   secret    $tmp/sigs.zip   give it without a certificate"
      "-                 -         $tmp/none.zip   cannot read $tmp/none.zip")
for row in "${half[@]}"; do
    read -r p12 password signatures said <<<"$row"
    status=0
    (
        unset QUORVEL_SIGN_PKCS12 QUORVEL_SIGN_PASSWORD QUORVEL_SIGNATURES
        [ "$p12" = - ] || export QUORVEL_SIGN_PKCS12=$p12
        [ "$password" = - ] || export QUORVEL_SIGN_PASSWORD=$password
        [ "$signatures" = - ] || export QUORVEL_SIGNATURES=$signatures
        "$dir/scripts/release" windows >"$tmp/half.log" 2>&1
    ) || status=$?
    [ "$status" -ne 0 ] && grep -q -F "$said" "$tmp/half.log" ||
        fail "certificate '$p12', password '$password', signatures '$signatures': $(cat "$tmp/half.log")"
done
echo "a certificate or a password alone, a certificate with signatures, signatures not there: refused"

# The throwaway signer; its password travels in a file, not on a command line.
password=throwaway-$RANDOM$RANDOM
printf '%s' "$password" >"$tmp/password"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quorvel release test" \
    -keyout "$tmp/signer.key" -out "$tmp/signer.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$tmp/signer.key" -in "$tmp/signer.pem" \
    -passout "file:$tmp/password" -out "$tmp/signer.p12"
rm "$tmp/signer.key"

# An uncommitted change is warned of, and left out.
echo "an uncommitted line" >>"$dir/README.md"
QUORVEL_SIGN_PKCS12=$tmp/signer.p12 QUORVEL_SIGN_PASSWORD=$password \
    release "$dir" "$tmp/signed.log" windows
grep -q '^release: warning: the work tree has uncommitted changes' "$tmp/signed.log" ||
    fail "no warning of the uncommitted change: $(cat "$tmp/signed.log")"
tar -xzOf "$dir/dist/quorvel-$version.tar.gz" "quorvel-$version/README.md" |
    cmp -s - <(git -C "$dir" show HEAD:README.md) || fail "the source archive holds the uncommitted change"
echo "an uncommitted change: warned of, and not in the source archive"
grep -q "^Signing the Windows programs with $tmp/signer.p12" "$tmp/signed.log" ||
    fail "the release does not say it signs: $(cat "$tmp/signed.log")"
grep -q -F "$password" "$tmp/signed.log" && fail "the password shows in the release's output"

verify() {
    local out
    out=$(osslsigncode verify -CAfile "$tmp/signer.pem" -in "$1" 2>&1) ||
        fail "$2 does not verify: $out"
    grep -q 'Message digest algorithm *: SHA256' <<<"$out" || fail "$2 is not signed with SHA-256: $out"
    echo "signed and verified: $2"
}
dist=$dir/dist
python3 -m zipfile -e "$dist/quorvel-$version-windows-x64.zip" "$tmp/zip"
exe=$tmp/zip/quorvel-$version-windows-x64/quorvel.exe
verify "$exe" "quorvel.exe in the zip"
verify "$dist/quorvel-$version-windows-x64-setup.exe" "the installer"

# The signatures alone, in another clone and without the key, make the same
# release; a signature attached to other bytes is refused.
signatures=$dist/quorvel-$version-windows-signatures.zip
rebuilt=$tmp/rebuilt
clone "$rebuilt"
QUORVEL_SIGNATURES=$signatures release "$rebuilt" "$tmp/rebuilt.log" windows
grep -q "^Signing the Windows programs with the signatures in $signatures" "$tmp/rebuilt.log" ||
    fail "the release does not say it attaches the signatures: $(cat "$tmp/rebuilt.log")"
diff "$dist/SHA256SUMS" "$rebuilt/dist/SHA256SUMS" || fail "rebuilt from its signatures, the release differs"
echo "rebuilt from its signatures without the key, the same files:"
cat "$rebuilt/dist/SHA256SUMS"
python3 -m zipfile -e "$signatures" "$tmp/signatures"
osslsigncode remove-signature -in "$dist/quorvel-$version-windows-x64-setup.exe" -out "$tmp/other.exe" \
    >/dev/null
QUORVEL_SIGNATURES_FROM=$tmp/signatures "$dir/scripts/lib/sign-windows" "$tmp/other.exe" quorvel.exe \
    2>"$tmp/other.log" && fail "quorvel.exe's signature was attached to the installer"
grep -q 'is not a signature of quorvel.exe' "$tmp/other.log" || fail "$(cat "$tmp/other.log")"
echo "quorvel.exe's signature on other bytes: refused"

# The uninstaller exists only once installed: install silently under Wine.
wine_dir=$tmp/wine
make_wine_prefix "$wine_dir"
cleanups+=("stop_wine")
start_x_server 640x480
cleanups+=("stop_x_session")
wine "$dist/quorvel-$version-windows-x64-setup.exe" /S 2>/dev/null || fail "the installer failed"
programs="$WINEPREFIX/drive_c/Program Files/Quorvel"
cmp "$programs/quorvel.exe" "$exe" || fail "the installed quorvel.exe is not the zip's"
cmp "$programs/THIRD-PARTY-NOTICES.txt" "$(dirname "$exe")/THIRD-PARTY-NOTICES.txt" ||
    fail "the installer does not put the zip's notices beside the program"
verify "$programs/Uninstall.exe" "the uninstaller"
stop_x_session
stop_wine

# The signed program, under Wine, on the desktop driver's own X server.
QUORVEL_WINDOWS_EXE=$programs/quorvel.exe "$tst_desktop" keyboardAlone >"$tmp/desktop.log" 2>&1 ||
    { cat "$tmp/desktop.log" >&2; fail "the signed quorvel.exe did not give its verdict"; }
grep -q '^PASS   : tst_Desktop::keyboardAlone()' "$tmp/desktop.log" ||
    fail "keyboardAlone did not run: $(cat "$tmp/desktop.log")"
echo "the signed quorvel.exe runs under Wine and gives its verdict"
