#!/usr/bin/env bash
# Builds one libFuzzer target (logo: the logo readers; firmware: the firmware filter; mo: the
# message catalogue reader) with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer in a build folder of its own, and runs
# it for SECONDS (default 600): scripts/fuzz.sh logo|firmware|mo [SECONDS].
# The corpus grows in $build/fuzz/corpus-TARGET, seeded from fuzz/corpus/TARGET; inputs that
# crash land in $build/fuzz/artifacts-TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
target=${1:-}
seconds=${2:-600}
build=${FUZZ_BUILD_DIR:-build-fuzz}

case "$target" in
logo) max_len=65536 ;;
firmware) max_len=140000 ;; # a little past the largest file the size check lets through
mo) max_len=4096 ;;
*)
    echo "usage: scripts/fuzz.sh logo|firmware|mo [SECONDS]" >&2
    exit 2
    ;;
esac

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DBRIMWELL_FUZZ=ON \
    -DBRIMWELL_BUILD_TESTS=OFF -DBRIMWELL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "fuzz_$target"

corpus="corpus-$target"
artifacts="artifacts-$target"
mkdir -p "$build/fuzz/$corpus" "$build/fuzz/$artifacts"
cd "$build/fuzz"
# One job: the machine is shared. Its log is fuzz-0.log in this folder, kept as
# fuzz-TARGET.log once the run ends.
status=0
"./fuzz_$target" -max_total_time="$seconds" -jobs=1 -workers=1 -max_len="$max_len" \
    -use_value_profile=1 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "$root/fuzz/corpus/$target" || status=$?
cp fuzz-0.log "fuzz-$target.log" 2>/dev/null || true
tail -n 25 "fuzz-$target.log" || true
echo "corpus: $(find "$corpus" -type f | wc -l) files"
exit "$status"
