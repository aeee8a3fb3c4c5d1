#!/usr/bin/env bash
# The real game played with the mouse on an X server of its own: "Nouvelle partie" starts the
# placement, clicks put the twenty pieces where the cursor is, exactly as the headless runner
# places them for the same input; the game is silent until a piece is selected, which plays the
# click sound; Escape opens the menu with its seventh button; "Quitter" ends the game with exit
# code 0.
# Usage: e2e_play_test.sh GAME_DIR SOURCE_DIR
source "$(dirname "$0")/e2e/lib.sh"

e2e_start_x
e2e_start_game

# The cursor's place, and the runner's script for the same input, kept as the test goes.
cursorX=390
cursorY=290
script=""
add() {
    script+="$1"$'\n'
}
go_to() {
    local dx=$(($1 - cursorX))
    local dy=$(($2 - cursorY))
    e2e_move "$dx" "$dy"
    add "move $dx $dy"
    add "frame"
    cursorX=$1
    cursorY=$2
}
click() {
    e2e_click
    add "press"
    add "frame 3"
    add "release"
    add "frame 2"
}
# The centre of square (column, row).
go_to_square() {
    go_to $((40 * $1 + 20)) $((40 * $2 + 20))
}

# "Nouvelle partie", the first button. The button is still held when the menu has gone, so the
# placement takes the press in the next frame: white's first piece goes on square (10, 2).
go_to 400 87
click
e2e_reference new-game "$script"
e2e_same_picture "new game: the menu gone, white's first piece under the cursor" \
    "$E2E_WORK/new-game.png" "$E2E_WORK/new-game.bmp"

# The other nineteen pieces, black and white in turn: black on row 4, white on row 10, clear of
# the menu's column.
columns=(0 1 2 3 4 5 13 14 15 16)
for i in 0 1 2 3 4 5 6 7 8 9; do
    go_to_square "${columns[$i]}" 4
    click
    if [ "$i" -lt 9 ]; then
        go_to_square "${columns[$i]}" 10
        click
    fi
done
e2e_reference placed "$script"
e2e_same_picture "twenty pieces placed where the cursor was" \
    "$E2E_WORK/placed.png" "$E2E_WORK/placed.bmp"

# Nothing so far made a sound: the sound device has played silence only.
[ -s "$E2E_AUDIO" ] || e2e_fail "the sound device wrote nothing to $E2E_AUDIO"
silentBytes=$(stat -c %s "$E2E_AUDIO")
loud=$(head -c "$silentBytes" "$E2E_AUDIO" | tr -d '\0' | wc -c)
[ "$loud" -eq 0 ] || e2e_fail "the game made a sound before any piece was selected"
e2e_pass "silence through the menu and the placement ($silentBytes bytes of sound output)"

# White selects its piece on square (2, 10): the click sound.
go_to_square 2 10
click
sounded() {
    [ "$(tail -c "+$((silentBytes + 1))" "$E2E_AUDIO" | tr -d '\0' | wc -c)" -gt 0 ]
}
e2e_wait_until 10 sounded || e2e_fail "selecting a piece played no sound"
e2e_pass "selecting a piece played the click sound"

# Escape opens the main menu, now with the seventh button ("Reprendre") below "Quitter".
e2e_key Escape
add "escape down"
add "frame 2"
add "escape up"
add "frame"
e2e_reference menu "$script"
# The selected piece blinks, so only the menu's column is compared.
e2e_same_picture "Escape: the menu over the game" "$E2E_WORK/menu.png" "$E2E_WORK/menu.bmp" \
    150x525+325+50
convert "$E2E_WORK/placed.png" -crop 150x75+325+500 +repage "$E2E_WORK/board-slot.png"
convert "$E2E_WORK/menu.png" -crop 150x75+325+500 +repage "$E2E_WORK/button-7.png"
differing=$(compare -metric AE -fuzz 10% "$E2E_WORK/button-7.png" "$E2E_WORK/board-slot.png" \
    null: 2>&1 >/dev/null || true)
differing=${differing%%.*}
[ "${differing:-0}" -gt $((150 * 75 / 2)) ] || e2e_fail "no seventh button during the game"
e2e_pass "the seventh button is shown during a game"

# "Quitter", the sixth button, ends the game at once.
go_to 400 462
e2e_click
e2e_expect_exit 10 "Quitter"

e2e_done
