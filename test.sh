#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs the whole test suite.
# The exit status is the suite's.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMWELL_WERROR=ON \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 "$@"
