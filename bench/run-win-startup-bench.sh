#!/usr/bin/env bash
# Start-up of the Windows window under Wine: the time from starting `brimwell.exe
# --exit-when-idle` until it has ended (it ends itself once its window is shown, painted and
# idle), against the bare Win32 dialog with one static text (brimwell_bare_dialog.exe), made and
# ended the same way. Both run in the build's Wine prefix, set up as scripts/build-windows.sh
# sets it up, with one Wine server kept running (warm) and a warm-up run of each first; then
# RUNS runs of each, alternating (bare, brimwell, bare, ...), so that a slow spell of the
# machine falls on both alike. Prints the medians and their ratio.
#   bench/run-win-startup-bench.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR   the Windows build (default build-windows); its Wine prefix is used
#   RUNS        runs of each program (default 15)
#   BRIMWELL_EXE, BARE_DIALOG_EXE   other programs to time (default: the build's)
set -euo pipefail
cd "$(dirname "$0")/.."

# Wine needs a display: a virtual one, for the whole run.
if [ -z "${BRIMWELL_ON_XVFB:-}" ]; then
    exec env BRIMWELL_ON_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

build=${1:-build-windows}
runs=${2:-15}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
brimwell=${BRIMWELL_EXE:-$build/app/brimwell.exe}
bare=${BARE_DIALOG_EXE:-$build/bench/brimwell_bare_dialog.exe}
if [ -z "${BRIMWELL_EXE:-}" ] || [ -z "${BARE_DIALOG_EXE:-}" ]; then
    cmake --build "$build" --target brimwell brimwell_bare_dialog >/dev/null
fi
for exe in "$brimwell" "$bare"; do
    [ -f "$exe" ] || { echo "run-win-startup-bench: missing $exe" >&2; exit 1; }
done

export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# One persistent Wine server for every run: the runs time the programs, not Wine's start.
"$wineserver" -p
trap '"$wineserver" -k || true' EXIT
wine cmd /c exit >/dev/null 2>&1 || true
# No window manager on the virtual display: without this Wine waits for one at every close.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true

# Milliseconds (with a fraction) that one run of program $1 takes.
time_run() {
    local start end
    start=$(date +%s%N)
    wine "$1" --exit-when-idle >/dev/null 2>&1
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.1f\n", ns / 1e6 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

# Warm-up: the prefix's DLLs and fonts in the page cache, the server's state made.
time_run "$bare" >/dev/null
time_run "$brimwell" >/dev/null

bare_times=()
brimwell_times=()
for ((i = 0; i < runs; i++)); do
    bare_times+=("$(time_run "$bare")")
    brimwell_times+=("$(time_run "$brimwell")")
done

bare_median=$(printf '%s\n' "${bare_times[@]}" | median)
brimwell_median=$(printf '%s\n' "${brimwell_times[@]}" | median)
echo "bare dialog ($runs runs, ms):  ${bare_times[*]}"
echo "brimwell.exe ($runs runs, ms): ${brimwell_times[*]}"
awk -v b="$bare_median" -v w="$brimwell_median" 'BEGIN {
    printf "median bare dialog:  %.1f ms\n", b
    printf "median brimwell.exe: %.1f ms\n", w
    printf "ratio:               %.2fx\n", w / b
}'
