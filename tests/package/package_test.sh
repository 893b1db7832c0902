#!/usr/bin/env bash
# The release package, as a Windows user meets it: scripts/package makes the zip and the
# installer; the zip must hold exactly the four files; the installer, run silently under Wine in a
# fresh prefix (build/win64/wine-package), must install for the current user, make the Start-menu
# shortcuts, the start with Windows and the uninstall entry; the installed program, started through its
# shortcut, must show its window and answer (package_probe.exe); the uninstaller must remove what
# was installed, keep the user's data files and say which it kept.
# Prints one line per check and, at the end, "package: N passed, M failed"; exits 1 on a failure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"

passed=0
failed=0
check() {
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
        passed=$((passed + 1))
    else
        echo "FAIL: $what"
        failed=$((failed + 1))
    fi
}
finish() {
    echo "package: $passed passed, $failed failed"
    ((failed == 0))
    exit
}
# Small predicates for check.
starts_with_bytes() { [[ "$(head -c $((${#2} / 2)) "$1" | od -An -tx1 | tr -d ' \n')" == "$2" ]]; }
crlf_lines_only() { ! grep -qv $'\r$' "$1"; }
holds() { grep -qF -- "$2" "$1"; }
lacks() { ! grep -qF -- "$2" "$1"; }

prefix="$QUORLET_BUILD/win64/wine-package"
own_display=""
cleanup() {
    [[ -d "$prefix" ]] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    [[ -n "$own_display" ]] && stop_xvfb
}
trap cleanup EXIT
if [[ -z "${DISPLAY:-}" ]]; then
    start_xvfb_if_needed || { echo "FAIL: no display for Wine"; failed=1; finish; }
    own_display=1
fi

# Runs a Windows program in the package prefix, bounded in time (a dialog nobody answers must
# not hang the test).
win() { timeout 120 "$QUORLET_ROOT/scripts/wine-exec" --prefix "$prefix" --unmanaged "$@"; }
winpath() { WINEPREFIX="$prefix" winepath -w "$1" 2>/dev/null; }

say "scripts/package"
log="$QUORLET_BUILD/package-test.log"
if ! "$QUORLET_ROOT/scripts/package" >"$log" 2>&1; then
    tail -n 30 "$log"
    check "scripts/package runs" false
    finish
fi
check "scripts/package runs" true
build_preset win64 package_probe >>"$log" 2>&1
check "package_probe.exe is built" test -s "$QUORLET_BUILD/win64/tests/package_probe.exe"
header="$QUORLET_BUILD/win64/generated/quorlet_version.h"
version="$(sed -n -E 's/^#define QUORLET_VERSION "(.*)"$/\1/p' "$header")"
zip="$QUORLET_ROOT/dist/Quorlet-$version-win64.zip"
setup="$QUORLET_ROOT/dist/Quorlet-$version-setup.exe"
check "it made Quorlet-$version-win64.zip and Quorlet-$version-setup.exe" test -s "$zip" -a -s "$setup"

say "the zip"
unpacked="$(mktemp -d)"
trap 'cleanup; rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
check "the zip holds exactly Quorlet.exe, Quorlet.chm, README.txt and LICENSE.txt" \
    test "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "LICENSE.txt Quorlet.chm Quorlet.exe README.txt "
check "its Quorlet.chm is the build's" cmp -s "$unpacked/Quorlet.chm" "$QUORLET_BUILD/win64/bin/Quorlet.chm"
SOURCE_DATE_EPOCH="$(pe_timestamp "$unpacked/Quorlet.exe")" \
    x86_64-w64-mingw32-strip -o "$unpacked/built.exe" "$QUORLET_BUILD/win64/bin/Quorlet.exe"
check "its Quorlet.exe is the build's, stripped" cmp -s "$unpacked/Quorlet.exe" "$unpacked/built.exe"
check "and keeps the build's link time" \
    test "$(pe_timestamp "$unpacked/Quorlet.exe")" = "$(pe_timestamp "$QUORLET_BUILD/win64/bin/Quorlet.exe")"
readme="$unpacked/README.txt"
check "README.txt is UTF-8 with a byte-order mark" starts_with_bytes "$readme" efbbbf
check "README.txt has CR LF line ends" crlf_lines_only "$readme"
check "README.txt is the Chinese read-me of version $version" holds "$readme" "鸥信通（Quorlet）$version"
check "README.txt says how to uninstall" holds "$readme" "卸载"
check "README.txt has every value filled in" lacks "$readme" "@QUORLET_"
check "LICENSE.txt is the MIT licence" holds "$unpacked/LICENSE.txt" "MIT License"
check "LICENSE.txt names The Quorlet developers" holds "$unpacked/LICENSE.txt" "The Quorlet developers"
check "LICENSE.txt has CR LF line ends" crlf_lines_only "$unpacked/LICENSE.txt"

say "install silently under Wine (fresh prefix)"
rm -rf "$prefix" "$prefix.lock"
check "setup.exe /S /AUTOSTART ends with status 0" win "$setup" /S /AUTOSTART
user="$(find "$prefix/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)"
installed="$user/AppData/Local/Programs/Quorlet"
menu="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value() { win reg query "$run_key" /v Quorlet 2>/dev/null | tr -d '\r' | grep Quorlet; }
for file in Quorlet.exe Quorlet.chm README.txt LICENSE.txt Uninstall.exe; do
    check "$file is installed in the user's local application data" test -s "$installed/$file"
done
check "the installed Quorlet.exe is the zip's" cmp -s "$installed/Quorlet.exe" "$unpacked/Quorlet.exe"
check "the installed Quorlet.chm is the zip's" cmp -s "$installed/Quorlet.chm" "$unpacked/Quorlet.chm"
for link in 鸥信通 鸥信通帮助 卸载鸥信通; do
    check "the Start menu holds 鸥信通/$link" test -s "$menu/鸥信通/$link.lnk"
done
run="$(run_value)"
check "/AUTOSTART wrote the user's Run value, the quoted program path" \
    grep -qF '"C:\users\' <<<"$run"
check "the Run value ends with the program and its closing quote" \
    grep -qF 'AppData\Local\Programs\Quorlet\Quorlet.exe"' <<<"$run"
autoload="$(win reg query 'HKCU\Software\Quorlet\Main' /v AutoLoad 2>/dev/null | tr -d '\r')"
check "/AUTOSTART ticked the program's own start-with-Windows option" grep -q 'AutoLoad.*REG_SZ.*1' <<<"$autoload"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlet'
entry="$(win reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | tr -d '\r')"
check "the uninstall entry names version $version" grep -q "DisplayVersion.*REG_SZ.*$version" <<<"$entry"
check "the installed program's version resource says Quorlet $version" \
    test "$(win "$QUORLET_BUILD/win64/tests/package_probe.exe" version "$(winpath "$installed/Quorlet.exe")" | tr -d '\r')" = "Quorlet $version"

say "start the installed program through its shortcut"
probe_log="$QUORLET_BUILD/package-probe.log"
win "$QUORLET_BUILD/win64/tests/package_probe.exe" start "$(winpath "$menu/鸥信通/鸥信通.lnk")" \
    "$(winpath "$installed/Quorlet.exe")" >"$probe_log" 2>&1
while read -r line; do
    line="${line%$'\r'}"
    case "$line" in
        ok:*) check "program: ${line#ok: }" true ;;
        FAIL:*) check "program: ${line#FAIL: }" false ;;
    esac
done <"$probe_log"
check "the probe ran its checks" grep -q '^ok: the program is ended' "$probe_log"

say "uninstall silently, with data files in the program's folder"
printf '[Main]\r\nTotal=1\r\n[Email]\r\n0=spam@example.com\r\n' >"$installed/Address.ini"
printf '[Main]\r\nTotal=0\r\n' >"$installed/Fee.ini"
check "Uninstall.exe /S ends with status 0" win "$installed/Uninstall.exe" /S
# The uninstaller runs from a copy of itself and returns at once; wait for that copy.
for _ in $(seq 120); do
    [[ -e "$installed/Uninstall.exe" ]] || break
    sleep 0.5
done
WINEPREFIX="$prefix" timeout 60 wineserver -w
for file in Quorlet.exe Quorlet.chm README.txt LICENSE.txt Uninstall.exe; do
    check "$file is removed" test ! -e "$installed/$file"
done
check "Address.ini is kept as it was" holds "$installed/Address.ini" "0=spam@example.com"
check "Fee.ini is kept as it was" holds "$installed/Fee.ini" "Total=0"
note="$installed/卸载说明.txt"
check "卸载说明.txt is left beside them, in UTF-16 with a byte-order mark" starts_with_bytes "$note" fffe
iconv -f UTF-16 -t UTF-8 "$note" >"$unpacked/note.txt" 2>/dev/null
for kept in Address.ini Fee.ini 没有删除; do
    check "卸载说明.txt says \"$kept\"" holds "$unpacked/note.txt" "$kept"
done
check "卸载说明.txt names no file the uninstaller removed" lacks "$unpacked/note.txt" "Quorlet.exe"
check "the Start-menu folder is removed" test ! -e "$menu/鸥信通"
check "the Run value is removed" test -z "$(run_value)"
entry_left=no
win reg query "$uninstall_key" >/dev/null 2>&1 && entry_left=yes
check "the uninstall entry is removed" test "$entry_left" = no

say "install elsewhere without start with Windows, uninstall without data files"
check "setup.exe /S /D=C:\\Apps\\Quorlet ends with status 0" win "$setup" /S '/D=C:\Apps\Quorlet'
elsewhere="$prefix/drive_c/Apps/Quorlet"
check "the program is installed in C:\\Apps\\Quorlet" test -s "$elsewhere/Quorlet.exe"
check "without /AUTOSTART there is no Run value" test -z "$(run_value)"
win "$elsewhere/Uninstall.exe" /S
for _ in $(seq 120); do
    [[ -e "$elsewhere" ]] || break
    sleep 0.5
done
WINEPREFIX="$prefix" timeout 60 wineserver -w
check "with no data files the whole folder is removed" test ! -e "$elsewhere"

finish
