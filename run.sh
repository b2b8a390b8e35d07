#!/usr/bin/env bash
# Installs what is missing, builds, and starts the utility.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build build --target brimwell brimwell-cli
exec ./build/app/brimwell "$@"
