#!/usr/bin/env bash
# The Windows build's checks that run on the Linux host, most of them under
# Wine in a prefix made once per test run (DIR, inside the build tree):
#
#   prefix DIR                        makes the prefix; its wineserver stays up
#   stop DIR                          ends the wineserver and removes the prefix
#   run DIR COMMAND...                runs a command with that prefix
#   imports EXE                       only Windows' own DLLs imported; version
#                                     1.2, manifest and icon inside
#   hardening EXE                     the PE header asks for a random load
#                                     address anywhere in 64 bits, with the
#                                     relocations to move it, and for data
#                                     never run as code; a stack protector
#                                     linked in
#   digest DIR HOST_DIGEST EXE_DIGEST the same digest natively and under Wine
#   installer DIR CPACK_CONFIG EXE    the installer that CPack made: a silent
#                                     install puts EXE and the licence under
#                                     Program Files with a Start-menu entry
#                                     that starts it, and lists the program
#                                     among the installed apps; a silent
#                                     uninstall, started as that list starts
#                                     it, takes it all away
set -euo pipefail
. "$(dirname "$0")/../../scripts/lib/wine.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

imports() {
    local exe=$1 dll dlls
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    [ -n "$dlls" ] || fail "no import table in $exe"
    for dll in $dlls; do
        case "${dll,,}" in
        kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | comctl32.dll | oleacc.dll | \
            ole32.dll | oleaut32.dll | uxtheme.dll | advapi32.dll | shell32.dll | shcore.dll | \
            dwmapi.dll | imm32.dll) ;;
        *) fail "$exe imports $dll, which does not come with Windows" ;;
        esac
    done
    echo "imports:" $dlls
    local resources
    resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc)
    grep -q 'FILEVERSION 1, 2, 0, 0' <<<"$resources" || fail "no file version 1.2"
    grep -q 'VALUE "ProductVersion", "1.2"' <<<"$resources" || fail "no product version 1.2"
    grep -q 'RT_MANIFEST' <<<"$resources" || fail "no manifest"
    grep -q 'RT_GROUP_ICON' <<<"$resources" || fail "no icon"
    echo "version 1.2, manifest and icon inside"
}

hardening() {
    local exe=$1 header characteristics bit name
    header=$(x86_64-w64-mingw32-objdump -p "$exe")
    characteristics=$(sed -n 's/^DllCharacteristics[[:space:]]*\([0-9a-fA-F]*\)$/\1/p' <<<"$header")
    [ -n "$characteristics" ] || fail "no DllCharacteristics in the PE header of $exe"
    for bit in 0x20:HIGH_ENTROPY_VA 0x40:DYNAMIC_BASE 0x100:NX_COMPAT; do
        name=${bit#*:}
        (((0x$characteristics & ${bit%:*}) != 0)) || fail "$exe: $name is not set (0x$characteristics)"
    done
    grep -q '^Entry 5 [0-9a-f]* 0*[1-9a-f][0-9a-f]* Base Relocation Directory' <<<"$header" ||
        fail "$exe has no relocations: Windows cannot load it at another address"
    grep -q -a -F '*** stack smashing detected ***' "$exe" || fail "$exe has no stack protector"
    echo "DllCharacteristics 0x$characteristics: HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT;" \
        "relocations; stack protector"
}

digest() {
    local native windows
    native=$("$2")
    windows=$(wine "$3" | tr -d '\r')
    printf 'Linux:\n%s\nWindows:\n%s\n' "$native" "$windows"
    [ "$native" = "$windows" ] || fail "the digests differ"
}

# What an install may leave behind: files where programs and their menu
# entries go, the makers' and the uninstallers' keys, the user's settings.
footprint() {
    (cd "$WINEPREFIX/drive_c" &&
        find "Program Files" ProgramData users/*/AppData/Roaming/Microsoft users/*/Desktop \
            users/Public 2>/dev/null | sort || true)
    {
        wine reg query 'HKLM\Software'
        wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
        wine reg query 'HKCU\Software' /s
    } 2>/dev/null | tr -d '\r' | grep -v -e '^HKEY_CURRENT_USER\\Software\\Wine' -e '^$'
}

# The data of value NAME in the output of `reg query`.
reg_value() {
    sed -n "s/^ *$2 \{2,\}REG_[A-Z_]* \{2,\}//p" <<<"$1"
}

installer() {
    local config=$2 exe=$3 package
    package=$(dirname "$config")/$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$config").exe
    local programs="$WINEPREFIX/drive_c/Program Files/Quorvel"
    # Wine's desktop process, which the installer starts, serves every window
    # program after it: it must start on a display.
    start_x_server 640x480
    trap stop_x_session EXIT
    local before
    before=$(footprint)
    wine "$package" /S 2>/dev/null || fail "the installer failed"
    cmp "$programs/quorvel.exe" "$exe" || fail "quorvel.exe is not in $programs"
    sed 's/$/\r/' "$(dirname "$0")/../../LICENSE" | cmp - "$programs/LICENSE.txt" ||
        fail "LICENSE.txt in $programs is not the licence with Windows' line ends"
    local menu
    menu=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Quorvel/Quorvel.lnk' | head -1)
    [ -n "$menu" ] || fail "no Start-menu entry Quorvel"
    echo "installed: $programs/quorvel.exe, ${menu#"$WINEPREFIX/drive_c/"}"

    # The Start-menu entry starts the installed program: its window appears.
    wine start /unix "$menu"
    local window
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvel v1\.2$' | head -1) ||
        fail "the Start-menu entry showed no window"
    xdotool windowfocus --sync "$window" key alt+F4
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Quorvel v1\.2$' >/dev/null || break
        sleep 0.1
    done
    echo "started from the Start menu"

    # Windows' list of installed apps: what it shows, and how it uninstalls.
    local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'
    local entry name want got
    entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r') || fail "no $key"
    while IFS='|' read -r name want; do
        got=$(reg_value "$entry" "$name")
        [ "$got" = "$want" ] || fail "$name in $key is '$got', not '$want'"
    done <<'END'
DisplayName|Quorvel
DisplayVersion|1.2
Publisher|The Quorvel authors
DisplayIcon|C:\Program Files\Quorvel\quorvel.exe
UninstallString|"C:\Program Files\Quorvel\Uninstall.exe"
END
    # The size in KiB: what the folder holds, to the KiB.
    local size bytes
    size=$(reg_value "$entry" EstimatedSize)
    bytes=$(find "$programs" -type f -printf '%s\n' | awk '{s += $1} END {print s}')
    [[ $size == 0x* ]] && ((size > 0 && (size - bytes / 1024) ** 2 <= 1)) ||
        fail "EstimatedSize in $key is '$size' KiB, but $programs holds $bytes bytes"
    echo "listed among the installed apps as Quorvel 1.2, $((size)) KiB"

    # The uninstaller copies itself away and returns at once: wait for it.
    got=$(reg_value "$entry" UninstallString)
    wine "${got//\"/}" /S
    for _ in $(seq 300); do
        [ -e "$programs" ] || break
        sleep 0.1
    done
    sleep 0.5
    ! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left $key"
    local after
    after=$(footprint)
    [ "$before" = "$after" ] ||
        fail "the uninstaller left this behind:$(diff <(echo "$before") <(echo "$after") || true)"
    echo "uninstalled: nothing left behind"
}

command=$1
shift
case "$command" in
prefix) make_wine_prefix "$1" ;;
stop)
    wine_env "$1"
    stop_wine
    rm -rf "$WINEPREFIX"
    ;;
run)
    wine_env "$1"
    shift
    exec "$@"
    ;;
imports) imports "$1" ;;
hardening) hardening "$1" ;;
digest)
    wine_env "$1"
    digest "$@"
    ;;
installer)
    wine_env "$1"
    installer "$@"
    ;;
*) fail "unknown check $command" ;;
esac
