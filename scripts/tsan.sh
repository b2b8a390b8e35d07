#!/usr/bin/env bash
# Builds the tests that run a job's device work on a real worker thread (the page base with the
# fake window host, the Linux device writer, the USB printer driver's double) with
# ThreadSanitizer, and runs them. Any report of a data race fails the run: no suppressions.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${TSAN_BUILD_DIR:-build-tsan}
targets=(printer_job_thread_tests printer_driver_drain_tests printer_page_base_tests
    app_job_panel_tests printer_job_tests)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRIMWELL_WERROR=ON -DBRIMWELL_TSAN=ON \
    -DBRIMWELL_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build "$build" --target "${targets[@]}"
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
cd "$build"
ctest --output-on-failure -j2 -R '^(JobThreads|DriverContract|PageBase|JobPanel|JobFixture|Spool)'
