#!/usr/bin/env bash
# Cross-builds the core, brimwell-cli.exe and the window brimwell.exe for 64-bit Windows with
# MinGW-w64, and runs the core, companion, Windows platform and Win32 host test programs under
# Wine, on a virtual X display (the host tests make windows). Installs what is missing
# (Debian 12 packages). The exit status is the tests'.
#   BUILD_DIR   build folder (default build-windows)
#   JOBS        parallel compile jobs (default 2)
# Extra arguments go to ctest (for example -R platform_win).
set -euo pipefail
cd "$(dirname "$0")/.."

# rsvg-convert and ImageMagick draw the window's pictures and icon from their SVG sources;
# optipng shrinks the pictures' PNG files.
./scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 googletest cmake ninja-build \
    librsvg2-bin imagemagick optipng xvfb xauth

# The rest runs on one virtual X display: Wine's background services start on it with the
# prefix, and the host tests' windows open on it.
if [ -z "${BRIMWELL_ON_XVFB:-}" ]; then
    exec env BRIMWELL_ON_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

build=${BUILD_DIR:-build-windows}
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMWELL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" "${launcher[@]}"
cmake --build "$build" -j "${JOBS:-2}"

# A Wine prefix of the build's own, so that the tests see a fresh registry and never touch
# the user's ~/.wine. Wine's first start creates it (some seconds); its optional .NET and
# HTML components are not wanted.
case $build in /*) export WINEPREFIX="$build/wine-prefix" ;; *) export WINEPREFIX="$PWD/$build/wine-prefix" ;; esac
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# One Wine server for the whole run, instead of one started and stopped per test program.
"$wineserver" -p || true
trap '"$wineserver" -k || true' EXIT
# Wine's background services (and, on the first run, the prefix) are started here with their
# output elsewhere: started by the first test program instead, they would inherit ctest's
# output pipe and keep it open after the test ended, and ctest would wait for ever.
wine cmd /c exit >/dev/null 2>&1 || true
# Windows not managed by a window manager (there is none on the virtual display): otherwise
# Wine waits two seconds for the manager at every window that closes.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
# The screen at 96 DPI, whatever a test run at another DPI that was cut short left behind.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true

cd "$build"
ctest --output-on-failure --timeout 300 -j "${JOBS:-2}" "$@"
