#!/usr/bin/env bash
# Makes the Windows installer and the portable zip from the Windows build:
#   build-windows/package/brimwell-<version>-x64.msi           per machine, Program Files\Brimwell
#   build-windows/package/brimwell-<version>-x64-portable.zip  the two programs, the licence and
#                                                              README.txt, in the folder brimwell-<version>
# then installs and removes the MSI under Wine (the CTest case labelled "msi").
# Builds and tests the Windows programs first through scripts/build-windows.sh, unless
# --no-build (the build folder is then taken as it is). The MSI is made by wixl (Debian's
# msitools) from packaging/windows/brimwell.wxs, plus the tables in packaging/windows/tables.sql.
# The same inputs give the same bytes: times come from SOURCE_DATE_EPOCH (the last commit's
# time when not set), the MSI's product and package codes from the version and the inputs'
# hash, the zip's members are sorted with fixed times and modes.
# Installs what is missing (Debian 12 packages). Usage:
#   scripts/package-windows.sh [--no-build] [--no-test] [--staged]
#   --staged    package the files a previous run left in the staging folder
#               (build-windows/package/stage) as they are now, instead of staging them afresh:
#               scripts/release.sh signs the stripped programs there (or attaches their
#               published signatures) between a first run and this one, so that the MSI and
#               the zip carry the signed programs
#   BUILD_DIR   the Windows build folder (default build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."

build_first=1
install_test=1
staged=0
for arg in "$@"; do
    case "$arg" in
        --no-build) build_first=0 ;;
        --no-test) install_test=0 ;;   # scripts/release.sh: CI runs the install test itself
        --staged) staged=1; build_first=0 ;;
        *) echo "usage: $0 [--no-build] [--no-test] [--staged]" >&2; exit 2 ;;
    esac
done

build=${BUILD_DIR:-build-windows}
# The languages of the catalogues (po/LINGUAS); each has its README.<lang>.txt.
languages=$(cat po/LINGUAS)
readmes="README.txt $(for l in $languages; do printf 'README.%s.txt ' "$l"; done)"
# What goes into the packages, from the Windows build. The variables let a developer point at
# other files without editing this script.
window_exe=${BRIMWELL_WINDOW_EXE:-$build/app/brimwell.exe}
cli_exe=${BRIMWELL_CLI_EXE:-$build/cli/brimwell-cli.exe}
icon=${BRIMWELL_ICON:-$build/resources/brimwell.ico}   # 16, 32, 48 and 256 px images
copyright=packaging/deb/copyright                       # the licence text is taken from here
wxs=packaging/windows/brimwell.wxs
tables=packaging/windows/tables.sql

./scripts/install-deps.sh wixl msitools zip binutils-mingw-w64-x86-64 wine wine64 faketime

if [ "$build_first" = 1 ]; then
    # The build's own tests; the installer's test needs the installer and runs at the end.
    BUILD_DIR="$build" ./scripts/build-windows.sh -LE msi
fi

missing=0
for f in "$window_exe:the window (made by the Windows build)" \
         "$cli_exe:the command-line companion (made by the Windows build)" \
         "$icon:the window's icon, 16/32/48/256 px (made by the Windows build)"; do
    if [ ! -f "${f%%:*}" ]; then
        echo "package-windows: missing ${f%%:*}: ${f#*:}" >&2
        missing=1
    fi
done
if [ "$missing" = 1 ]; then
    echo "package-windows: no installer made; build the Windows programs first" \
         "(scripts/build-windows.sh), or point BRIMWELL_WINDOW_EXE, BRIMWELL_CLI_EXE and" \
         "BRIMWELL_ICON at them" >&2
    exit 1
fi

# The version is CMake's project version, as the build configured it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if ! [[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "package-windows: no project version in $build/CMakeCache.txt" >&2
    exit 1
fi
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
# The cabinet inside the MSI and the zip store local times: the same ones in every time zone.
export TZ=UTC

out=$build/package
stage=$out/stage
msi=$out/brimwell-$version-x64.msi
zip=$out/brimwell-$version-x64-portable.zip
rm -f "$msi" "$zip"

stage_afresh() { # the programs, the icon and the texts into an empty staging folder
    rm -rf "$stage"
    mkdir -p "$stage"

    # The programs without their debugging information (a release build keeps it for gdb).
    x86_64-w64-mingw32-strip --strip-debug -o "$stage/brimwell.exe" "$window_exe"
    x86_64-w64-mingw32-strip --strip-debug -o "$stage/brimwell-cli.exe" "$cli_exe"
    cp "$icon" "$stage/brimwell.ico"

    # LICENSE.txt, with Windows line ends: the copyright line and the licence paragraph of the
    # Debian copyright file (machine-readable format: continuation lines indented, " ." empty).
    {
        echo "Brimwell $version"
        echo
        sed -n 's/^Copyright: */Copyright /p' "$copyright" | head -n 1
        echo
        awk '/^License:/ { inlicence = 1; next }
             !/^ / { inlicence = 0 }
             inlicence && /^ \.$/ { print ""; next }
             inlicence { sub(/^ /, ""); print }' "$copyright"
    } | sed 's/$/\r/' >"$stage/LICENSE.txt"
    if ! grep -q '[a-z]' <(tail -n +5 "$stage/LICENSE.txt"); then
        echo "package-windows: no licence text found in $copyright" >&2
        exit 1
    fi
    # README.txt, with Windows line ends: the programs and what to run when no printer is found.
    sed 's/$/\r/' packaging/windows/README.txt >"$stage/README.txt"
    # The same in each language of the catalogues, from the build's compiled catalogues, as
    # UTF-8 with a byte-order mark (so that every Notepad reads it as UTF-8).
    for lang in $languages; do
        { printf '\357\273\277'
          python3 scripts/readme-po.py translate packaging/windows/README.txt \
              "$build/share/locale/$lang/LC_MESSAGES/brimwell.mo"; } |
            sed 's/$/\r/' >"$stage/README.$lang.txt"
    done
}

if [ "$staged" = 0 ]; then
    stage_afresh
else
    for f in brimwell.exe brimwell-cli.exe brimwell.ico LICENSE.txt $readmes; do
        if [ ! -f "$stage/$f" ]; then
            echo "package-windows: --staged: no $stage/$f (a run without --staged stages it)" >&2
            exit 1
        fi
    done
fi
# Fixed modes and times, also for staged files that were rewritten since (signed programs).
chmod 0644 "$stage"/*
chmod 0755 "$stage"/*.exe
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

# The installed files' size in KiB, rounded up, for the uninstall entry.
size_bytes=0
for f in brimwell.exe brimwell-cli.exe LICENSE.txt $readmes; do
    size_bytes=$((size_bytes + $(stat -c %s "$stage/$f")))
done
size_kb=$(((size_bytes + 1023) / 1024))

# The product code (new whenever the contents change, as a major upgrade wants) and the package
# code, derived from the version and the hash of everything that goes into the MSI, so that a
# rebuild of the same inputs gives the same codes.
inputs_hash=$({ echo "$version"
    (cd "$stage" && sha256sum LICENSE.txt $readmes brimwell-cli.exe brimwell.exe brimwell.ico)
    sha256sum "$wxs" "$tables"; } | sha256sum | cut -c1-64)
guid_from() { # NAME: a name-based GUID (version 5 and variant bits set) from NAME and the hash
    local h
    h=$(printf '%s %s' "$1" "$inputs_hash" | sha256sum | cut -c1-32 | tr a-f A-F)
    printf '%s-%s-5%s-%X%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" \
        $(( (16#${h:16:1} & 3) | 8 )) "${h:17:3}" "${h:20:12}"
}
product_code=$(guid_from product)
package_code=$(guid_from package)

echo "Making $msi"
# wixl looks files up by relative names only: it runs in the staging folder. It writes the
# clock's time as the summary's creation and save times: faketime makes that the commit's.
msi_time=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')
(cd "$stage" && faketime "$msi_time" wixl --arch x64 --output ../"$(basename "$msi").tmp" \
    -D Version="$version" -D ProductCode="$product_code" -D WindowExe=brimwell.exe \
    -D CliExe=brimwell-cli.exe -D LicenceTxt=LICENSE.txt -D ReadmeTxt=README.txt \
    -D IconFile=brimwell.ico -D SizeKb="$size_kb" \
    "$OLDPWD/$wxs")
queries=()
while IFS= read -r line; do
    case "$line" in "" | "#"*) continue ;; esac
    queries+=(-q "$line")
done <"$tables"
msibuild "$msi.tmp" "${queries[@]}"
# wixl draws a random package code (the summary's revision number): set the derived one,
# keeping the subject, author and template wixl wrote.
suminfo() { msiinfo suminfo "$msi.tmp" | sed -n "s/^$1: //p"; }
faketime "$msi_time" msibuild "$msi.tmp" -s "$(suminfo Subject)" "$(suminfo Author)" \
    "$(suminfo Template)" "{$package_code}"
mv "$msi.tmp" "$msi"

echo "Making $zip"
# One top-level folder named with the version, so that unpacking puts nothing else beside it.
# Members sorted by name, without extra fields (owners, more times): only names, fixed times
# and modes, and the data.
top=brimwell-$version
rm -rf "${out:?}/$top"
mkdir "$out/$top"
for f in brimwell.exe brimwell-cli.exe LICENSE.txt $readmes; do
    cp -p "$stage/$f" "$out/$top/"
done
chmod 0755 "$out/$top"
touch -d "@$SOURCE_DATE_EPOCH" "$out/$top"
(cd "$out" && { echo "$top/"
    printf "$top/%s\n" brimwell.exe brimwell-cli.exe LICENSE.txt $readmes | LC_ALL=C sort; } |
    zip -q -X -9 -@ "$(basename "$zip")")
rm -rf "${out:?}/$top"
if unzip -Z1 "$zip" | grep -v "^$top/"; then
    echo "package-windows: the entries above stand outside $top/ in $zip" >&2
    exit 1
fi

echo
msiinfo suminfo "$msi"
echo
unzip -l "$zip"
echo
# The installer's own test: silent install into a fresh Wine prefix, then removal. It must run
# here, not be skipped (unless --no-test).
if [ "$install_test" = 1 ]; then
    (cd "$build" && BRIMWELL_MSI_TEST_STRICT=1 ctest --output-on-failure --no-tests=error -L msi)
fi
echo
echo "Installer: $msi ($(du -h "$msi" | cut -f1))"
echo "Portable:  $zip ($(du -h "$zip" | cut -f1))"
