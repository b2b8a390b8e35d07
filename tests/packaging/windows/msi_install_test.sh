#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix: an older build of it installed first,
# then this one, silently, as a technician would; the upgrade has replaced the old one; the
# files, the Start menu shortcut, the uninstall entry and the PATH entry are there and the
# installed companion runs; after a silent uninstall nothing of ours is left, neither a file
# nor a registry key nor the PATH entry.
# Usage: msi_install_test.sh MSI WORK_DIR. Exit 77 (skipped) without Wine, msitools or the MSI,
# unless BRIMWELL_MSI_TEST_STRICT=1 (then that is a failure).
set -euo pipefail
msi=$(realpath -m "$1")
work=$(realpath -m "$2")

skip() {
    if [ "${BRIMWELL_MSI_TEST_STRICT:-0}" = 1 ]; then
        echo "FAIL: $*"
        exit 1
    fi
    echo "SKIPPED: $*"
    exit 77
}
for tool in wine winepath msiinfo msibuild; do
    command -v "$tool" >/dev/null || skip "no $tool (Debian packages wine, msitools)"
done
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -x "$wineserver" ] || skip "no wineserver"
[ -f "$msi" ] || skip "no installer at $msi (scripts/package-windows.sh makes it)"

failures=0
check() { # DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# A prefix of the test's own, made anew each time; no desktop menu entries on the host.
rm -rf "$work"
mkdir -p "$work/prefix"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
# Prefix creation and Wine's services, away from ctest's output pipe (see build-windows.sh).
wine cmd /c exit >/dev/null 2>&1 || true

property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v k="$2" '$1 == k { print $2 }'; }
code=$(property "$msi" ProductCode)
version=$(property "$msi" ProductVersion)
# reg query VALUE of KEY, or nothing (status 1) when the key or the value is not there.
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v n="$2" '$1 == n { sub(/^ *[^ ]+ +REG_[A-Z_]+ +/, ""); print; found = 1 } END { exit !found }'
}
has_key() { wine reg query "$1" >/dev/null 2>&1; }
no_key() { ! has_key "$1"; }
uninstall_key() { echo "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1"; }
# The installer's own record of a product: its code with each part's characters reversed.
packed() {
    local g=${1//[\{\}-]/}
    echo "$(rev <<<"${g:0:8}")$(rev <<<"${g:8:4}")$(rev <<<"${g:12:4}")$(sed 's/\(.\)\(.\)/\2\1/g' <<<"${g:16}")"
}
env_key='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
path_items() { reg_value "$env_key" PATH | tr ';' '\n' | grep -v '^$' || true; }
install_dir='C:\Program Files\Brimwell'
dir=$WINEPREFIX/drive_c/Program\ Files/Brimwell
msiexec() { # LOG ARGS...: msiexec with a verbose log, shown when it fails
    local log=$1
    shift
    if ! wine msiexec "$@" /l*v "$(winepath -w "$work/$log")" >/dev/null 2>&1; then
        echo "FAIL: msiexec $*"
        tail -n 40 "$work/$log"
        exit 1
    fi
}

check "the package installs per machine (ALLUSERS=1)" test "$(property "$msi" ALLUSERS)" = 1
check "the shortcut carries the application user-model id Brimwell.AppID.NoVersion" grep -qP \
    '^\S+\tStartMenuBrimwell\t\{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3\}, 5\tBrimwell\.AppID\.NoVersion\r?$' \
    <(msiinfo export "$msi" MsiShortcutProperty)
# Windows takes the PATH entry out again only when its name says so ('-'); Wine always does.
check "the PATH entry is the machine's and goes with the companion" grep -qP \
    '^\S+\t=-\*PATH\t\[~\];\[INSTALLDIR\]\tCompanion\r?$' <(msiinfo export "$msi" Environment)
path_before=$(path_items)

# An older release: the same package with a lower version and a product code of its own.
old=$work/brimwell-old.msi
old_code="{$(tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid)}"
cp "$msi" "$old"
msibuild "$old" -q "UPDATE \`Property\` SET \`Value\` = '1.0.0' WHERE \`Property\` = 'ProductVersion'" \
    -q "UPDATE \`Property\` SET \`Value\` = '$old_code' WHERE \`Property\` = 'ProductCode'" \
    -s "Brimwell 1.0.0" QuenmarRuravavereDaz "x64;1033" "{$(tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid)}"
msiexec install-old.log /i "$(winepath -w "$old")" /qn
check "the older release is installed" test "$(reg_value "$(uninstall_key "$old_code")" DisplayVersion)" = 1.0.0

msiexec install.log /i "$(winepath -w "$msi")" /qn
echo "installed $version, product code $code"
check "the upgrade removed the older release" no_key "$(uninstall_key "$old_code")"
for f in brimwell.exe brimwell-cli.exe LICENSE.txt README.txt README.de.txt README.nl.txt README.fr.txt; do
    check "$install_dir\\$f" test -s "$dir/$f"
done
check "the companion runs from the installed folder" \
    test "$(cd "$dir" && wine "$install_dir\\brimwell-cli.exe" --version | tr -d '\r')" = "brimwell-cli $version"
key=$(uninstall_key "$code")
check "uninstall entry: name" test "$(reg_value "$key" DisplayName)" = Brimwell
check "uninstall entry: version $version" test "$(reg_value "$key" DisplayVersion)" = "$version"
check "uninstall entry: publisher" test "$(reg_value "$key" Publisher)" = QuenmarRuravavereDaz
check "uninstall entry: install location $install_dir" grep -qixF -e "$install_dir" -e "$install_dir\\" \
    <<<"$(reg_value "$key" InstallLocation)"
installed_kb=0
for f in brimwell.exe brimwell-cli.exe LICENSE.txt README.txt README.de.txt README.nl.txt README.fr.txt; do
    installed_kb=$((installed_kb + $(stat -c %s "$dir/$f")))
done
installed_kb=$(((installed_kb + 1023) / 1024))
size=$(reg_value "$key" EstimatedSize || echo 0)
check "uninstall entry: estimated size $((size)) KiB, the installed files' $installed_kb" \
    test "$((size))" = "$installed_kb"
product_key="HKLM\\Software\\Classes\\Installer\\Products\\$(packed "$code")"
icon=$(reg_value "$product_key" ProductIcon || true)
check "uninstall entry: icon ($icon)" test -s "$(winepath -u "${icon:-C:\\none}")"
check "the PATH holds $install_dir" grep -qixF -e "$install_dir" -e "$install_dir\\" <<<"$(path_items)"

# Windows resolves ProgramMenuFolder to the common Start menu for a per-machine package; Wine's
# msi (up to 8 at least) to the user's. The install log says where it went.
menu=$(sed -n 's/^Property(S): ProgramMenuFolder = //p' "$work/install.log" | tr -d '\r' | tail -n 1)
lnk=$(winepath -u "${menu}Brimwell.lnk")
echo "Start menu folder: $menu"
case "$menu" in
    'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\') ;;
    *) echo "note: not the common Start menu; Wine's msi places per-machine shortcuts in the user's" ;;
esac
check "Brimwell.lnk in the Start menu" test -s "$lnk"
check "the shortcut starts $install_dir\\brimwell.exe" grep -qaF "$install_dir\\brimwell.exe" <(tr -d '\0' <"$lnk")
check "the shortcut shows the installed icon" grep -qaF "$icon" <(tr -d '\0' <"$lnk")

msiexec uninstall.log /x "$(winepath -w "$msi")" /qn
check "removed: the program folder" test ! -e "$dir"
check "removed: the shortcut" test ! -e "$lnk"
check "removed: the uninstall entry" no_key "$key"
check "removed: the installer's product record" no_key "$product_key"
check "removed: the PATH entry, and nothing else of the PATH" test "$(path_items)" = "$path_before"
# Wine writes its registry to the prefix's .reg files when the server stops.
"$wineserver" -k
"$wineserver" -w
trap - EXIT
left=$( (grep -il brimwell "$WINEPREFIX"/*.reg || true; find "$WINEPREFIX/drive_c" -iname '*brimwell*') | head)
check "nothing named Brimwell left in the registry or on drive C:${left:+ ($left)}" test -z "$left"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed; logs in $work"
    exit 1
fi
echo "all checks passed"
