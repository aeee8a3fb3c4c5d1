#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) into
# build-fuzz/ and runs each for SECONDS seconds (60 when not given), one after the other.
#
# Usage: fuzz/run.sh [SECONDS] [TARGET...]
#   TARGET: picture, wave, saved_game, options, script (all of them when none is named).
#
# Each target starts from its corpus in build-fuzz/corpus/TARGET (kept from run to run), the
# text seeds in fuzz/seeds/TARGET, the inputs of tests/data/fuzz-regressions/TARGET, and for
# pictures and waves the binary seeds written by gorvendal-fuzz-seeds and the game's own
# generated files (from build/game, or made in build-fuzz when there are none). A crash, a sanitizer report or a broken promise is minimised into
# build-fuzz/findings/TARGET/; add it to tests/data/fuzz-regressions/TARGET/ once mended.
#
# Prints one line per target (executions, seconds, outcome); the status is 1 when any target
# found something.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(picture wave saved_game options script)
fi
build="$root/build-fuzz"

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is not installed" >&2
    exit 2
fi

declare -A max_len=([picture]=32768 [wave]=32768 [saved_game]=16384 [options]=4096
                    [script]=4096)

mkdir -p "$build"
if ! cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DGORVENDAL_FUZZ=ON -DGORVENDAL_SANITIZE=address,undefined -DGORVENDAL_TESTS=OFF \
        -DGORVENDAL_BENCH=OFF >"$build/configure.log" 2>&1; then
    cat "$build/configure.log" >&2
    exit 2
fi
# The game's generated pictures and sounds are seeds too: those of the normal build when it has
# made them, otherwise this build makes its own.
assets="$root/build/game"
build_targets=(gorvendal-fuzz-seeds)
if [ ! -d "$assets/bitmaps" ] || [ ! -d "$assets/waves" ]; then
    assets="$build/game"
    build_targets+=(game_assets)
fi
for target in "${targets[@]}"; do
    build_targets+=("fuzz_$target")
done
if ! cmake --build "$build" -j 2 --target "${build_targets[@]}" >"$build/build.log" 2>&1; then
    tail -n 40 "$build/build.log" >&2
    exit 2
fi

# The binary seeds, made afresh at every run.
generated="$build/generated-seeds"
rm -rf "$generated"
mkdir -p "$generated/picture" "$generated/wave"
ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/gorvendal-fuzz-seeds" "$generated/picture" \
    "$generated/wave" || exit 2
cp "$assets/bitmaps/"*.bmp "$generated/picture/" 2>/dev/null
cp "$assets/waves/"*.wav "$generated/wave/" 2>/dev/null

found=0
for target in "${targets[@]}"; do
    binary="$build/fuzz/fuzz_$target"
    if [ ! -x "$binary" ]; then
        echo "fuzz_$target: no such target" >&2
        found=1
        continue
    fi
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    inputs=("$corpus")
    for dir in "$root/fuzz/seeds/$target" "$root/tests/data/fuzz-regressions/$target" \
               "$generated/$target"; do
        if [ -d "$dir" ]; then
            inputs+=("$dir")
        fi
    done
    log="$build/fuzz_$target.log"
    # The fuzzer works in a scratch folder of its own, so every path given to it is absolute.
    "$binary" -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=20 \
        -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$findings/" \
        "${inputs[@]}" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
    if [ -z "$runs" ]; then
        runs=$(sed -n 's/^#\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    fi
    if [ $status -eq 0 ]; then
        echo "fuzz_$target: ${runs:-?} executions in ${took:-$seconds} s: nothing found"
        continue
    fi
    found=1
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    what=$(grep -m 1 -E '^==[0-9]+==ERROR|runtime error|broken promise|^==[0-9]+== ERROR' "$log")
    echo "fuzz_$target: ${runs:-?} executions: FOUND ${what:-a failure (see $log)}"
    if [ -n "$artifact" ] && [ -f "$artifact" ]; then
        minimised="$artifact.min"
        "$binary" -minimize_crash=1 -max_total_time=30 -exact_artifact_path="$minimised" \
            "$artifact" >"$log.minimise" 2>&1
        if [ -f "$minimised" ]; then
            echo "    input: $artifact ($(wc -c <"$artifact") bytes), minimised: $minimised" \
                 "($(wc -c <"$minimised") bytes)"
        else
            echo "    input: $artifact ($(wc -c <"$artifact") bytes)"
        fi
    fi
    echo "    log: $log"
done
exit $found
