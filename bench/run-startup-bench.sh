#!/usr/bin/env bash
# Start-up benchmark: median time from process start to the first mapped window, for the
# utility and for a bare Qt dialog (the floor), both under a fresh Xvfb.
#   bench/run-startup-bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-21}
cmake --build "$build" --target brimwell bench_bare_dialog bench_startup >/dev/null
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
xvfb-run -a -s "-screen 0 1280x800x24" sh -c "
  echo 'bare dialog:';  '$build/bench/bench_startup' $runs '$build/bench/bench_bare_dialog' | tail -1
  echo 'bare dialog with one label:'
  '$build/bench/bench_startup' $runs '$build/bench/bench_bare_dialog' --label | tail -1
  echo 'brimwell:';     '$build/bench/bench_startup' $runs '$build/app/brimwell' | tail -1
"
