#!/usr/bin/env bash
# Plays the soak (tools/soak) for FRAMES frames from SEED, in the sanitizer build unless another
# build folder is given; configures and builds what it needs.
# Usage: tests/soak.sh [FRAMES] [SEED] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
frames=${1:-100000}
seed=${2:-1}
build=${3:-$root/build-asan}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DGORVENDAL_SANITIZE=address,undefined -DGORVENDAL_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target gorvendal-soak >/dev/null
cd "$build/tools/soak"
exec ./gorvendal-soak "$build/game" "$frames" "$seed"
