#!/usr/bin/env bash
# Builds the benchmarks if needed, runs them headless with repetitions, prints every figure and
# checks the performance targets against the medians.
#
# Usage: bench/run.sh [--build-dir DIR] [--repetitions N] [--inactive]
#   --build-dir DIR   the build folder (default: build/ at the root, as scripts/setup.sh makes it)
#   --repetitions N   repetitions of each benchmark, and processes for the cold start-up (9)
#   --inactive        also run the end-to-end window test under Xvfb, whose background check
#                     measures the real game while another window has the focus
#
# Times are the process's own processor time per iteration (its CPU time): on a machine shared
# with other work they stay close to what an idle machine shows, where wall-clock time does not.
# The wall-clock medians are printed beside them; the start-up, which also waits on files, is
# checked on its wall-clock time. The exit status is 0 when every target checked is met.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
repetitions=9
inactive=0
while [ $# -gt 0 ]; do
    case "$1" in
        --build-dir) build=$(mkdir -p "$2" && cd "$2" && pwd); shift 2 ;;
        --repetitions) repetitions=$2; shift 2 ;;
        --inactive) inactive=1; shift ;;
        *) echo "usage: $0 [--build-dir DIR] [--repetitions N] [--inactive]" >&2; exit 2 ;;
    esac
done

jobs=$(nproc 2>/dev/null || echo 2)
if ! grep -q '^GORVENDAL_BENCH:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    cmake -S "$root" -B "$build" -DGORVENDAL_BENCH=ON >/dev/null
fi
cmake --build "$build" -j "$jobs" --target gorvendal_bench >/dev/null
if [ "$inactive" -eq 1 ]; then
    cmake --build "$build" -j "$jobs" --target gorvendal gorvendal-replay >/dev/null
    # The window test's close command exists where the tests are configured with X11.
    cmake --build "$build" -j "$jobs" --target gorvendal-xclose >/dev/null 2>&1 || true
fi
bench="$build/bench/gorvendal_bench"

work=$(mktemp -d "${TMPDIR:-/tmp}/gorvendal-bench-run.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Every benchmark but the cold start-up, with repetitions; the medians go to a CSV file.
"$bench" --benchmark_filter='^(frame|blit|text|memory)/|^startup/to_end_of_first_frame$' \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_out="$work/runs.csv" --benchmark_out_format=csv

# The cold start-up: the first start of a process (the font is opened too), once per process.
echo
echo "Cold start-up, one per process:"
for _ in $(seq "$repetitions"); do
    "$bench" --benchmark_filter='_cold' --benchmark_format=csv 2>/dev/null |
        grep '^"startup/' >>"$work/cold.csv"
done
awk -F, '{ gsub(/"/, ""); printf "  process %d: %8.3f %s processor time, %8.3f %s wall-clock\n", NR, $4, $5, $3, $5 }' \
    "$work/cold.csv"

# Microseconds from a value and its unit.
to_micro='
    function micro(value, unit) {
        if (unit == "ns") return value / 1000
        if (unit == "ms") return value * 1000
        if (unit == "s") return value * 1000000
        return value
    }
    { gsub(/"/, "") }
'
# name cpu_us wall_us, one line per benchmark: the medians.
# (With one repetition there are no aggregates: the single run is its own median.)
awk -F, "$to_micro"'
    $1 ~ /_(mean|stddev|cv)$/ || $1 == "name" || NF < 5 { next }
    {
        name = $1
        if (sub(/_median$/, "", name) || !(name in cpu)) {
            if (!(name in cpu)) order[++count] = name
            cpu[name] = micro($4, $5); wall[name] = micro($3, $5)
        }
    }
    END { for (i = 1; i <= count; ++i) print order[i], cpu[order[i]], wall[order[i]] }
' "$work/runs.csv" >"$work/medians"
# The median of one column of the cold runs (4: processor time, 3: wall-clock time).
cold_median() {
    awk -F, -v column="$1" "$to_micro"'{ print micro($column, $5) }' "$work/cold.csv" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR > 0) print v[int((NR + 1) / 2)] }'
}
if [ -s "$work/cold.csv" ]; then
    echo "startup/to_end_of_first_frame_cold $(cold_median 4) $(cold_median 3)" >>"$work/medians"
fi

median() {
    awk -v name="$1" '$1 == name { print $2 }' "$work/medians"
}

echo
echo "Medians of $repetitions runs (processor time; wall-clock time in brackets):"
while read -r name cpu wallclock; do
    printf '  %-45s %12.3f us  [%12.3f us]\n' "$name" "$cpu" "$wallclock"
done <"$work/medians"

# One line per target: the median, the target, met or not.
status=0
check() {  # label value unit comparison limit note
    local label=$1 value=$2 unit=$3 comparison=$4 limit=$5 note=${6:-}
    if [ -z "$value" ]; then
        printf 'TARGET %-60s no figure                        NOT MET\n' "$label"
        status=1
        return
    fi
    local met
    met=$(awk -v v="$value" -v l="$limit" -v c="$comparison" \
        'BEGIN { print ((c == "<=" && v <= l) || (c == "<" && v < l) || (c == ">=" && v >= l)) ? "met" : "NOT MET" }')
    [ "$met" = "met" ] || status=1
    printf 'TARGET %-60s %10.3f %-3s (target %s %s %s) %s%s\n' "$label" "$value" "$unit" \
        "$comparison" "$limit" "$unit" "$met" "${note:+  $note}"
}

status_line=$(median frame/full_board_status_line)
under_menu=$(median frame/full_board_under_menu)
copy=$(median memory/copy_one_screen)
worst="" worst_name="" ratio=""
if [ -n "$status_line" ] && [ -n "$under_menu" ]; then
    worst=$(awk -v a="$status_line" -v b="$under_menu" 'BEGIN { print (a > b ? a : b) / 1000 }')
    worst_name=$(awk -v a="$status_line" -v b="$under_menu" \
        'BEGIN { print (a > b ? "the status line" : "the menu over it") }')
    if [ -n "$copy" ]; then
        ratio=$(awk -v w="$worst" -v c="$copy" 'BEGIN { printf "%.1fx", w * 1000 / c }')
    fi
fi
ours=$(median blit/background_800x600/ours)
sdl=$(median blit/background_800x600/sdl)
speedup=""
if [ -n "$ours" ] && [ -n "$sdl" ]; then
    speedup=$(awk -v o="$ours" -v s="$sdl" 'BEGIN { printf "%.1f", s / o }')
fi
digits=$(median text/300_levels/cached)
digits_ms=$([ -z "$digits" ] || awk -v d="$digits" 'BEGIN { print d / 1000 }')
# The start-up waits on files too: it is checked on the cold start's wall-clock time (the larger
# figure), its processor time shown beside it.
cold=$(median startup/to_end_of_first_frame_cold)
cold_wall=$(awk '$1 == "startup/to_end_of_first_frame_cold" { print $3 }' "$work/medians")
startup_ms=$([ -z "$cold_wall" ] || awk -v w="$cold_wall" 'BEGIN { print w / 1000 }')
cold_cpu_ms=$([ -z "$cold" ] || awk -v c="$cold" 'BEGIN { printf "%.3f", c / 1000 }')

echo
check "worst-case frame (300 pieces, blinking, ${worst_name:-?})" "$worst" ms "<=" 1 \
    "${ratio:-?} the copy of one screen"
check "background blit, SDL_BlitScaled / ours" "$speedup" x ">=" 10
check "300 level digits with the text cache" "$digits_ms" ms "<=" 0.1
check "start-up to the end of the first frame (cold, wall)" "$startup_ms" ms "<=" 150 \
    "${cold_cpu_ms} ms of processor time"

if [ "$inactive" -eq 1 ]; then
    # The window test stops at its first failure: a line missing means it did not get there.
    output=$(bash "$root/tests/e2e_window_test.sh" "$build/game" "$root" 2>&1 || true)
    cpu_line=$(grep -m1 'in the background the game used' <<<"$output" || true)
    frames_line=$(grep -m1 'no frame in the background' <<<"$output" || true)
    if [[ "$cpu_line" =~ ^ok:.*used\ ([0-9]+)\ of\ ([0-9]+)\ ticks ]]; then
        check "inactive game, share of one processor" \
            "$(awk -v u="${BASH_REMATCH[1]}" -v t="${BASH_REMATCH[2]}" 'BEGIN { print 100 * u / t }')" \
            % "<" 1 "${cpu_line#ok: }"
    else
        printf 'TARGET %-60s %s  NOT MET\n' "inactive game, share of one processor" \
            "${cpu_line:-no figure: see tests/e2e_window_test.sh}"
        status=1
    fi
    if [[ "$frames_line" == ok:* ]]; then
        printf 'TARGET %-60s %s  met\n' "inactive game, no frames" "${frames_line#ok: }"
    else
        printf 'TARGET %-60s %s  NOT MET\n' "inactive game, no frames" \
            "${frames_line:-no figure: see tests/e2e_window_test.sh}"
        status=1
    fi
else
    echo "TARGET inactive game: no frames, under 1% of a processor: measured by" \
        "tests/e2e_window_test.sh (ctest -R e2e_window, or bench/run.sh --inactive)"
fi
exit "$status"
