#!/usr/bin/env bash
# The guided demonstration played through gorvendal-replay: each lesson's capture happens as
# the lesson table says, with its sounds, and the finish leaves an empty board under the menu.
set -euo pipefail
game_dir=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$game_dir/bitmaps" "$work/bitmaps"
ln -s "$game_dir/waves" "$work/waves"
mkdir "$work/sauv"
cd "$work"
"$game_dir/gorvendal-replay" "$source_dir/tests/replay_scripts/demonstration.txt" >out.txt

failures=0
passes=0
check() {
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
        passes=$((passes + 1))
    else
        echo "FAILED: $1: expected '$3', got '$2'"
        failures=$((failures + 1))
    fi
}
# One field of cell (x, y) from a dump: the cells are one a line, column-major.
cell() {
    local dump=$1 x=$2 y=$3 field=$4
    local first
    first=$(grep -n '^"cells": \[' "$dump" | cut -d: -f1)
    sed -n "$((first + 1 + x * 15 + y))p" "$dump" | grep -o "\"$field\": -\?[0-9]*" | awk '{print $2}'
}
state() {
    grep -o "\"$2\": -\?[0-9]*" "$1" | head -n 1 | awk '{print $2}'
}
occupied_count() {
    grep -c '"occupied": 1,' "$1" || true
}

check "the demonstration sets up 28 pieces" "$(occupied_count start.json)" 28
check "it waits for OK" "$(state start.json demoMode)/$(state start.json clickLatch)" "1/0"
# Lesson 0: white's level-1 piece at (5, 6) jumps over (6, 6) to (7, 6).
check "lesson 0 lands on (7, 6)" "$(cell lesson0.json 7 6 occupied)/$(cell lesson0.json 7 6 owner)/$(cell lesson0.json 7 6 kills)" "1/0/1"
check "lesson 0 takes (6, 6)" "$(cell lesson0.json 6 6 occupied)/$(cell lesson0.json 5 6 occupied)" "-1/-1"
# Lesson 1: black's level-2 piece at (12, 10) jumps diagonally over (11, 9) to (10, 8).
check "lesson 1 lands on (10, 8)" "$(cell lesson1.json 10 8 owner)/$(cell lesson1.json 10 8 kills)" "1/4"
check "lesson 1 takes (11, 9)" "$(cell lesson1.json 11 9 occupied)" "-1"
# Lesson 2: black's level-3 piece at (1, 1) jumps over (2, 1) and (3, 1) to (4, 1).
check "lesson 2 lands on (4, 1)" "$(cell lesson2.json 4 1 owner)/$(cell lesson2.json 4 1 kills)" "1/7"
check "lesson 2 takes two" "$(cell lesson2.json 2 1 occupied)/$(cell lesson2.json 3 1 occupied)" "-1/-1"
# Lesson 3: white's level-4 piece at (15, 8) jumps over (16, 9) and (17, 10) to (18, 11).
check "lesson 3 lands on (18, 11)" "$(cell lesson3.json 18 11 owner)/$(cell lesson3.json 18 11 kills)" "0/9"
check "lesson 3 takes two" "$(cell lesson3.json 16 9 occupied)/$(cell lesson3.json 17 10 occupied)" "-1/-1"
check "each lesson ends waiting for OK" "$(state lesson3.json demoState)/$(state lesson3.json clickLatch)/$(state lesson3.json cursorUserControlled)" "4/0/1"
# Each lesson selects with a click sound and captures with an attack sound, one frame apart
# from the scripted clicks; nothing else sounds.
check "sounds" "$(awk '{print $3}' out.txt | tr '\n' ' ')" "click attack click attack click attack click attack "
check "no exit" "$(grep -c '^exit' out.txt || true)" 0
check "the finish clears the board" "$(occupied_count finish.json)" 0
check "the finish shows the menu" "$(state finish.json menuVisible)/$(state finish.json demoMode)/$(state finish.json cursorUserControlled)" "1/0/1"
# The cursor is seen on its way in every lesson: the shots differ from one another.
for lesson in 0 1 2 3; do
    check "shot of lesson $lesson written" "$(stat -c %s lesson$lesson-on-its-way.bmp)" 1440054
done
if cmp -s lesson0-on-its-way.bmp lesson1-on-its-way.bmp; then
    check "lessons look different on their way" same different
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
