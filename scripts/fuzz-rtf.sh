#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of its own, and runs it for SECONDS (default 600).
# The corpus grows in $build/fuzz/corpus-rtf, seeded from fuzz/corpus/rtf; inputs that crash
# land in $build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-600}
build=${FUZZ_BUILD_DIR:-build-fuzz}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DBRIMWELL_FUZZ=ON \
    -DBRIMWELL_BUILD_TESTS=OFF -DBRIMWELL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_rtf

corpus="$build/fuzz/corpus-rtf"
artifacts="$build/fuzz/artifacts"
mkdir -p "$corpus" "$artifacts"
cd "$build/fuzz"
# One job: the machine is shared. Its log is fuzz-0.log in this folder. The dictionary of
# control words helps the fuzzer past the reader's word table.
status=0
./fuzz_rtf -max_total_time="$seconds" -jobs=1 -workers=1 -max_len=16384 -use_value_profile=1 \
    -dict="$root/fuzz/rtf.dict" -print_final_stats=1 -artifact_prefix=artifacts/ \
    corpus-rtf "$root/fuzz/corpus/rtf" || status=$?
tail -n 25 fuzz-0.log || true
echo "corpus: $(find corpus-rtf -type f | wc -l) files"
exit "$status"
