#!/usr/bin/env bash
# Builds the logo loader's libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of its own, and runs it for SECONDS (default 600).
# The corpus grows in $build/fuzz/corpus-logo, seeded from fuzz/corpus/logo; inputs that crash
# land in $build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-600}
build=${FUZZ_BUILD_DIR:-build-fuzz}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DBRIMWELL_FUZZ=ON \
    -DBRIMWELL_BUILD_TESTS=OFF -DBRIMWELL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_logo

corpus="$build/fuzz/corpus-logo"
artifacts="$build/fuzz/artifacts"
mkdir -p "$corpus" "$artifacts"
cd "$build/fuzz"
# One job: the machine is shared. Its log is fuzz-0.log in this folder.
status=0
./fuzz_logo -max_total_time="$seconds" -jobs=1 -workers=1 -max_len=65536 -use_value_profile=1 \
    -print_final_stats=1 -artifact_prefix=artifacts/ corpus-logo "$root/fuzz/corpus/logo" || status=$?
tail -n 25 fuzz-0.log || true
echo "corpus: $(find corpus-logo -type f | wc -l) files"
exit "$status"
