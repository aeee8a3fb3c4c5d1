#!/usr/bin/env bash
# The real game on an X server of its own: the window covers the screen and shows the main menu
# exactly as the game drew it; the cursor follows the mouse; while another window has the focus no
# frame runs and the game uses no processor time; F11 and Alt+Enter switch to a window and back,
# with the mouse scaled to the smaller picture; the window manager's close command ends the game
# with exit code 0. Before all that: without any display the game ends at once, saying why.
# Usage: e2e_window_test.sh GAME_DIR SOURCE_DIR
source "$(dirname "$0")/e2e/lib.sh"

# Without any display the game ends at once, with exit code 0 and one line on standard error.
folder=$(e2e_prepare_folder)
code=0
(cd "$folder" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 ./gorvendal \
    >"$E2E_WORK/no-display.out" 2>"$E2E_WORK/no-display.err") || code=$?
[ "$code" -eq 0 ] || e2e_fail "without a display the game ended with exit code $code"
lines=$(wc -l <"$E2E_WORK/no-display.err")
[ "$lines" -eq 1 ] || e2e_fail "without a display the game wrote $lines lines on standard error"
e2e_pass "without a display: exit code 0 and one line: $(cat "$E2E_WORK/no-display.err")"
rm -rf "$folder"

e2e_start_x
e2e_start_game

# The window takes the whole screen.
geometry=$(e2e_geometry)
[ "$geometry" = "0 0 800 600" ] || e2e_fail "the window is at $geometry, not over the whole screen"
e2e_pass "the window covers the whole 800 x 600 screen"

# The main menu at start: six buttons in the column 325..475 x 50..500, the board beneath.
e2e_reference start ""
e2e_same_picture "main menu at start" "$E2E_WORK/start.png" "$E2E_WORK/start.bmp"
convert "$E2E_WORK/start.png" -crop 150x75+325+500 +repage "$E2E_WORK/board-slot.png"
for button in 1 2 3 4 5 6; do
    top=$((50 + 75 * (button - 1)))
    convert "$E2E_WORK/start.png" -crop "150x75+325+$top" +repage "$E2E_WORK/button.png"
    differing=$(compare -metric AE -fuzz 10% "$E2E_WORK/button.png" "$E2E_WORK/board-slot.png" \
        null: 2>&1 >/dev/null || true)
    differing=${differing%%.*}
    # Most of a button's pixels are not the board's (the slot below the six buttons is board).
    [ "${differing:-0}" -gt $((150 * 75 / 2)) ] ||
        e2e_fail "no button $button at (325, $top): only ${differing:-0} pixels differ from the board"
done
e2e_pass "six menu buttons drawn at x 325..475, y 50..500, the board below them"

# The cursor follows the mouse, pixel for pixel on a screen as large as the picture.
e2e_move 100 -150
e2e_reference moved "move 100 -150"
e2e_same_picture "cursor moved by (100, -150)" "$E2E_WORK/moved.png" "$E2E_WORK/moved.bmp"

# Another window takes the focus: frames stop, the mouse does not reach the game, and the game
# sleeps. xmessage is a plain X client from x11-utils.
xmessage -geometry 120x40+0+0 "Une autre fenetre" >/dev/null 2>&1 &
E2E_HELPER_PIDS+=($!)
other=""
find_other() {
    other=$(xdotool search --onlyvisible --class Xmessage 2>/dev/null | head -n 1)
    [ -n "$other" ]
}
e2e_wait_until 10 find_other || e2e_fail "the other window did not appear"
xdotool windowfocus "$other"
sleep 0.5
e2e_shot "$E2E_WORK/inactive-a.png"
ticksPerSecond=$(getconf CLK_TCK)
seconds=3
before=$(e2e_cpu_ticks)
e2e_move 60 60
sleep "$seconds"
after=$(e2e_cpu_ticks)
used=$((after - before))
e2e_shot "$E2E_WORK/inactive-b.png"
# Under 1 % of one processor over the whole wait.
[ $((used * 100)) -lt $((seconds * ticksPerSecond)) ] ||
    e2e_fail "in the background the game used $used ticks in $seconds s (over 1 % of a processor)"
e2e_pass "in the background the game used $used of $((seconds * ticksPerSecond)) ticks in $seconds s"
e2e_unchanged "no frame in the background, the mouse moved" "$E2E_WORK/inactive-a.png" \
    "$E2E_WORK/inactive-b.png"

xdotool windowfocus "$E2E_WINDOW"
kill "${E2E_HELPER_PIDS[-1]}" 2>/dev/null || true
sleep 0.5
e2e_move 20 20
e2e_reference back "move 100 -150
move 20 20"
e2e_same_picture "focus back: frames run, the motion made in the background was not kept" \
    "$E2E_WORK/back.png" "$E2E_WORK/back.bmp"

# F11: a window smaller than the screen, centred, showing the picture scaled down.
xdotool key F11
windowed() {
    read -r x y width height <<<"$(e2e_geometry)"
    [ "$width" -lt 800 ] && [ "$height" -lt 600 ]
}
e2e_wait_until 10 windowed || e2e_fail "F11 did not switch to a window: $(e2e_geometry)"
read -r x y width height <<<"$(e2e_geometry)"
[ $((2 * x + width)) -eq 800 ] && [ $((2 * y + height)) -eq 600 ] ||
    e2e_fail "the window ($x $y $width $height) is not centred"
[ $((width * 3)) -eq $((height * 4)) ] || e2e_fail "the window ($width x $height) is not 4:3"
e2e_pass "F11: a window of $width x $height at ($x, $y)"
convert "$E2E_WORK/back.bmp" -resize "${width}x${height}!" "$E2E_WORK/back-small.png"
error=""
scaled_picture_shown() {
    e2e_shot "$E2E_WORK/windowed.png"
    convert "$E2E_WORK/windowed.png" -crop "${width}x${height}+${x}+${y}" +repage \
        "$E2E_WORK/windowed-part.png"
    error=$(compare -metric RMSE "$E2E_WORK/windowed-part.png" "$E2E_WORK/back-small.png" null: \
        2>&1 >/dev/null || true)
    error=$(sed -n 's/.*(\(.*\)).*/\1/p' <<<"$error")
    awk -v e="$error" 'BEGIN { exit !(e != "" && e < 0.08) }'
}
e2e_wait_until 10 scaled_picture_shown ||
    e2e_fail "the window does not show the game's picture scaled down (error $error)"
e2e_pass "the window shows the game's picture scaled to $width x $height (error $error)"

# In the window the mouse is scaled to the smaller picture: a motion of width / 16 on the screen
# moves the cursor 50 pixels of the picture.
moveX=$((width / 16))
expectedX=$((moveX * 800 / width))
e2e_move "$moveX" 0
xdotool key F11
fullscreen() {
    [ "$(e2e_geometry)" = "0 0 800 600" ]
}
e2e_wait_until 10 fullscreen || e2e_fail "F11 did not switch back to full screen: $(e2e_geometry)"
e2e_pass "F11 again: full screen"
sleep 0.3
e2e_reference full-again "move 100 -150
move 20 20
move $expectedX 0"
e2e_same_picture "full screen again; a motion of $moveX in the window moved the cursor $expectedX" \
    "$E2E_WORK/full-again.png" "$E2E_WORK/full-again.bmp"

# Alt+Enter switches the same way.
xdotool key alt+Return
e2e_wait_until 10 windowed || e2e_fail "Alt+Enter did not switch to a window: $(e2e_geometry)"
xdotool key alt+Return
e2e_wait_until 10 fullscreen || e2e_fail "Alt+Enter did not switch back: $(e2e_geometry)"
e2e_pass "Alt+Enter: a window, then full screen again"

# The window manager's close command (WM_DELETE_WINDOW) ends the game.
[ -x "$E2E_XCLOSE" ] || e2e_fail "$E2E_XCLOSE is not built"
"$E2E_XCLOSE" "$E2E_WINDOW" || e2e_fail "could not send the close command"
e2e_expect_exit 10 "close command"

e2e_done
