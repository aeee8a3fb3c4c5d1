#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test: the normal build (build/),
# then the sanitizer build (build-asan/: AddressSanitizer with leak detection and
# UndefinedBehaviorSanitizer, the soak of 100,000 frames among its tests), then a short run of
# every fuzzer (fuzz/run.sh, when clang is installed). The last line sums them up.
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
passed=0
failed=0

# Adds up the counts of a ctest run from its summary line.
count_ctest() {
    local summary
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
    if [ -z "$summary" ]; then
        failed=$((failed + 1))  # ctest itself did not run
        return
    fi
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}
log_dir=$(mktemp -d)
trap 'rm -rf "$log_dir"' EXIT

# The normal build and its tests.
if "$root/scripts/setup.sh"; then
    ctest --test-dir "$root/build" --output-on-failure -j "$jobs" | tee "$log_dir/normal.log"
    count_ctest "$log_dir/normal.log"
else
    echo "test.sh: the build failed" >&2
    failed=$((failed + 1))
fi

# The same tests under the sanitizers, but the real-window tests and the checks of the
# generated files and of the installation, which test no code of the game's own.
echo "test.sh: the sanitizer build (build-asan)"
if cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DGORVENDAL_SANITIZE=address,undefined -DGORVENDAL_BENCH=OFF >/dev/null &&
    cmake --build "$root/build-asan" -j "$jobs" >"$log_dir/asan-build.log" 2>&1; then
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs" \
        -E '^(e2e_|install_test|assets_test|Generated(Pictures|Sounds)\.)' | tee "$log_dir/asan.log"
    count_ctest "$log_dir/asan.log"
else
    tail -n 40 "$log_dir/asan-build.log" >&2
    echo "test.sh: the sanitizer build failed" >&2
    failed=$((failed + 1))
fi

# A minute of fuzzing in all: every target for 12 seconds.
if command -v clang++ >/dev/null; then
    echo "test.sh: fuzzing (build-fuzz)"
    "$root/fuzz/run.sh" 12 | tee "$log_dir/fuzz.log"
    fuzz_passed=$(grep -c ': nothing found$' "$log_dir/fuzz.log")
    fuzz_failed=$(grep -c '^fuzz_.*FOUND\|no such target' "$log_dir/fuzz.log")
    if [ "$fuzz_passed" -eq 0 ] && [ "$fuzz_failed" -eq 0 ]; then
        fuzz_failed=1  # the fuzzers were not built
    fi
    passed=$((passed + fuzz_passed))
    failed=$((failed + fuzz_failed))
else
    echo "test.sh: clang++ is not installed: no fuzzing"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
