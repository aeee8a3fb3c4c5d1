#!/usr/bin/env bash
# Whole features played as a player plays them, through gorvendal-replay: the scripts in
# tests/scenarios/ (NAME.txt) click their way through a game, the menu, saving and loading;
# each run's output must be NAME.expected exactly (the sounds, frame by frame, and the exit),
# and its dumps, pictures and saved file are checked below. Every scenario runs in a folder of
# its own holding the game's pictures and sounds and an empty sauv/.
# Usage: scenarios_test.sh GAME_DIR SOURCE_DIR
set -u
game_dir=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
scenarios=$source_dir/tests/scenarios
replay=$game_dir/gorvendal-replay
# The runner's documentation ships a checker of the dump's shape; it is used when it is there.
dump_checker=$source_dir/../shared/tools/check-dump.py

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
scenario=""
fail() {
    echo "FAIL [$scenario]: $*"
    failed=1
}

# Runs tests/scenarios/NAME.txt in a fresh folder, which becomes the current one, and checks
# that the script is valid, that the game wrote no debugger message and that the output is
# NAME.expected.
run_scenario() {
    scenario=$1
    local dir=$work/$1
    mkdir -p "$dir/sauv"
    ln -s "$game_dir/bitmaps" "$dir/bitmaps"
    ln -s "$game_dir/waves" "$dir/waves"
    cd "$dir" || exit 1
    "$replay" "$scenarios/$1.txt" >out.txt 2>err.txt
    local status=$?
    if [ "$status" -ne 0 ] || grep -q '^error ' err.txt; then
        fail "the runner refused the script or failed (status $status): $(head -3 err.txt)"
    fi
    [ -s err.txt ] && fail "debugger output: $(head -3 err.txt)"
    cmp -s out.txt "$scenarios/$1.expected" ||
        fail "output differs from $1.expected: $(diff out.txt "$scenarios/$1.expected" | head -8)"
}

# The value of a state field in a dump: a number, or an array as written ("[10, 10]").
field() {
    grep -o "\"$2\": \(\[[^]]*\]\|-\?[0-9]*\)" "$1" | head -1 | sed 's/^[^:]*: //'
}

expect_field() {
    local value
    value=$(field "$1" "$2")
    [ "$value" = "$3" ] || fail "$1: $2 is '$value', expected '$3'"
}

# A field of the cell of square (column, row): the cells follow the state, one a line, in
# column-major order from line 5.
cell_field() {
    sed -n "$((5 + 15 * $2 + $3))p" "$1" | grep -o "\"$4\": -\?[0-9]*" | sed 's/^[^:]*: //'
}

# Arguments: FILE "COLUMN ROW" NAME=VALUE...
expect_cell() {
    local file=$1 column row
    read -r column row <<<"$2"
    shift 2
    local pair name want value
    for pair in "$@"; do
        name=${pair%%=*}
        want=${pair#*=}
        value=$(cell_field "$file" "$column" "$row" "$name")
        [ "$value" = "$want" ] || fail "$file: square ($column,$row) $name is '$value', expected '$want'"
    done
}

check_dump_shape() {
    local file
    for file in "$@"; do
        [ -f "$file" ] || fail "no dump $file"
    done
    if [ -f "$dump_checker" ] && command -v python3 >/dev/null; then
        python3 "$dump_checker" "$@" >/dev/null || fail "a dump does not have the documented shape"
    fi
}

# The pixel (x, y) of a 24-bit BMP stored bottom-up: "R G B". Arguments: FILE WIDTH HEIGHT X Y.
pixel() {
    local stride=$((($2 * 3 + 3) / 4 * 4))
    local offset=$((54 + ($3 - 1 - $5) * stride + $4 * 3))
    local b g r
    read -r b g r < <(od -An -tu1 -j "$offset" -N3 "$1")
    echo "$r $g $b"
}

# A colour as the 16-bit screen holds it (5 bits of red, 6 of green, 5 of blue).
as_screen_colour() {
    local r g b
    read -r r g b <<<"$1"
    echo "$((r >> 3)) $((g >> 2)) $((b >> 3))"
}

# The pixel at POINT ("X Y") of an 800 x 600 shot.
shot_pixel() {
    local x y
    read -r x y <<<"$2"
    pixel "$1" 800 600 "$x" "$y"
}

###################################################################################################
# 1. A whole game by mouse: placement, captures at the four levels, two reinforcements, the last
#    capture, the pause of 100 frames, the result picture and its victory sound, Escape.
run_scenario whole_game
check_dump_shape after-placement.json after-reinforcement.json level-four.json pause.json over.json

# The sounds: the expected output already fixes every line; these are the rules behind it.
last_attack=$(grep ' attack$' out.txt | tail -1 | cut -d' ' -f2)
[ "$(grep -c ' win$' out.txt)" = 1 ] || fail "the victory sound is not played exactly once"
grep -qx "sound $((last_attack + 100)) win" out.txt ||
    fail "the victory sound is not 100 frames after the last capture (frame $last_attack)"
[ "$(grep -c ' attack$' out.txt)" = 9 ] || fail "expected nine captures"
[ "$(tail -1 out.txt)" = "exit $((last_attack + 106)) 0" ] || fail "Escape did not end the game"

# Black's tenth piece opened the play: white to move, ten pieces each, no reserve left.
expect_field after-placement.json playPhase 1
expect_field after-placement.json placementPhase 0
expect_field after-placement.json currentPlayer 0
expect_field after-placement.json onBoard "[10, 10]"
expect_field after-placement.json reserve "[0, 0]"
expect_field after-placement.json pieceCount 20
for square in "2 7" "17 12" "2 2" "4 2" "6 2" "8 2" "10 2" "12 2" "14 2" "16 2"; do
    expect_cell after-placement.json "$square" owner=0 occupied=1 kills=0
done
for square in "3 7" "5 7" "8 7" "10 8" "12 9" "14 10" "15 10" "15 7" "14 6" "17 11"; do
    expect_cell after-placement.json "$square" owner=1 occupied=1 kills=0
done

# White's first turn took two pieces and ended with a step: its reinforcement piece stands on
# (1,3), the play is back, black to move.
expect_field after-reinforcement.json playPhase 1
expect_field after-reinforcement.json placementPhase 0
expect_field after-reinforcement.json reinforcementPhase 0
expect_field after-reinforcement.json currentPlayer 1
expect_field after-reinforcement.json onBoard "[11, 8]"
expect_field after-reinforcement.json reserve "[0, 0]"
expect_cell after-reinforcement.json "1 3" owner=0 occupied=1 kills=0 level=1
expect_cell after-reinforcement.json "7 7" owner=0 occupied=1 kills=2 level=1
for square in "3 7" "5 7" "2 7"; do
    expect_cell after-reinforcement.json "$square" occupied=-1
done

# After the double jump and two steps, H has seven kills: level 4, three moves a turn.
expect_cell level-four.json "16 8" owner=0 occupied=1 kills=7 level=4 movesLeft=3 movesPerTurn=3
expect_field level-four.json onBoard "[11, 3]"
expect_field level-four.json currentPlayer 1

# 99 frames after the last capture the pause still runs and play goes on.
expect_field pause.json playPhase 1
expect_field pause.json gameOver 0
expect_field pause.json onBoard "[11, 0]"
expect_cell pause.json "18 12" owner=0 occupied=1 kills=1
expect_cell pause.json "18 11" occupied=-1
expect_cell pause.json "13 5" owner=0 occupied=1 kills=9 level=4
grep -q '"running": \[1,' pause.json || fail "pause.json: the end-of-game timer is not running"

# 100 frames after it the game is over; the timer is ready for the next game.
expect_field over.json gameOver 1
expect_field over.json playPhase 0
expect_field over.json victorySoundPlayed 1
expect_field over.json onBoard "[11, 0]"
grep -q '"counters": \[100,' over.json || fail "over.json: the end-of-game timer is not re-armed"
grep -q '"running": \[0,' over.json || fail "over.json: the end-of-game timer still runs"

# The result picture is the first frame of win.bmp (white has won), as the 16-bit screen shows
# it, at points of the title, the crowned white piece and the caption, which tell it from the
# second frame (black has won); and it is not the board.
cmp -s result.bmp board.bmp && fail "the result picture is the board"
win=$game_dir/bitmaps/win.bmp
tells_frames_apart=0
for point in "400 100" "460 320" "350 330" "400 380" "300 482" "400 482" "400 548"; do
    shown=$(as_screen_colour "$(shot_pixel result.bmp "$point")")
    read -r x y <<<"$point"
    white_won=$(as_screen_colour "$(pixel "$win" 3200 600 "$x" "$y")")
    black_won=$(as_screen_colour "$(pixel "$win" 3200 600 $((x + 800)) "$y")")
    [ "$shown" = "$white_won" ] || fail "result picture at ($point) is $shown, win.bmp has $white_won"
    [ "$white_won" != "$black_won" ] && tells_frames_apart=1
done
[ "$tells_frames_apart" = 1 ] || fail "the points checked do not tell the two results apart"

###################################################################################################
# 2. The menu: six buttons at start, a new game clears it, Escape brings it back with
#    "Reprendre", which closes it, "Quitter" ends the program.
run_scenario menu
check_dump_shape start.json new-game.json resume-menu.json resumed.json placed.json
[ -e never.json ] && fail "a command after the exit ran"

# Points inside button 1, button 6 and the place of button 7 (x 325..474), off the grid lines.
button1="345 75"
button6="345 455"
button7="345 535"
expect_field start.json menuVisible 1
expect_field start.json placementPhase 0
expect_field start.json playPhase 0
# At start button 6 is drawn over the board, and below it the board shows: no seventh button.
[ "$(shot_pixel start.bmp "$button6")" != "$(shot_pixel new-game.bmp "$button6")" ] ||
    fail "no sixth button at start"
[ "$(shot_pixel start.bmp "$button7")" = "$(shot_pixel new-game.bmp "$button7")" ] ||
    fail "a seventh button at start"
[ "$(shot_pixel start.bmp "$button1")" != "$(shot_pixel new-game.bmp "$button1")" ] ||
    fail "the menu is still drawn after \"Nouvelle partie\""

# "Nouvelle partie": the placement, no menu, the cursor a small white piece (at (400, 87): the
# middle of the 20-pixel sprite is the middle of pion.bmp's white piece).
expect_field new-game.json placementPhase 1
expect_field new-game.json menuVisible 0
expect_field new-game.json reserve "[10, 10]"
expect_field new-game.json pieceCount 0
expect_field new-game.json cursorX 400
expect_field new-game.json cursorY 87
cursor=$(shot_pixel new-game.bmp "410 97")
white_piece=$(pixel "$game_dir/bitmaps/pion.bmp" 76 38 19 19)
[ "$(as_screen_colour "$cursor")" = "$(as_screen_colour "$white_piece")" ] ||
    fail "the cursor is not the white piece: $cursor"
read -r r g b <<<"$cursor"
if [ "$r" -lt 200 ] || [ "$g" -lt 200 ] || [ "$b" -lt 180 ]; then
    fail "the cursor is not white: $cursor"
fi

# Escape: the menu again, with "Reprendre" in the seventh place.
expect_field resume-menu.json menuVisible 1
expect_field resume-menu.json placementPhase 1
[ "$(shot_pixel resume-menu.bmp "$button7")" != "$(shot_pixel new-game.bmp "$button7")" ] ||
    fail "no seventh button during a game"
[ "$(shot_pixel resume-menu.bmp "$button6")" = "$(shot_pixel start.bmp "$button6")" ] ||
    fail "button 6 changed"

# "Reprendre" closed the menu and placed nothing; the next click places white's first piece.
expect_field resumed.json menuVisible 0
expect_field resumed.json placementPhase 1
expect_field resumed.json reserve "[10, 10]"
expect_field resumed.json pieceCount 0
expect_field placed.json reserve "[9, 10]"
expect_field placed.json currentPlayer 1
expect_cell placed.json "5 5" owner=0 occupied=1

###################################################################################################
# 3. Save a game as ABCDE, play a new one, load ABCDE: the saved game comes back and plays on.
run_scenario save_load
check_dump_shape before-save.json after-save.json new-game.json load-menu.json after-load.json \
    played-on.json
saved=sauv/ABCDE.SAV

# The file: the 266 records of columns 0..18 and rows 0..13 (798 lines), the selection, the
# player to move with the menu flag (shown again when the screen closed, before the writing),
# the constant; then the 34 cells of column 19 and row 14, three lines each.
if [ -f "$saved" ]; then
    [ "$(sed -n 1p "$saved")" = "0 0" ] || fail "$saved does not begin with the record of (0,0)"
    [ "$(sed -n 796p "$saved")" = "18 13" ] || fail "$saved: line 796 is not the record of (18,13)"
    trailer=$(sed -n 799p "$saved")
    [ "${trailer#* }" = "19 1 1" ] || fail "$saved: selection line is '$trailer'"
    [ "$(sed -n 800p "$saved")" = "1 1" ] || fail "$saved: line 800 is not black to move, menu shown"
    [ "$(sed -n 801p "$saved")" = "0.100000" ] || fail "$saved: line 801 is not the constant"
    [ "$(sed -n 802p "$saved")" = "19 0" ] || fail "$saved: column 19 does not follow the constant"
    [ "$(wc -l <"$saved")" -eq $((801 + 34 * 3)) ] || fail "$saved has $(wc -l <"$saved") lines"
else
    fail "no $saved"
    trailer=""
fi

expect_field before-save.json currentPlayer 1
expect_field before-save.json selectionActive 1
expect_cell before-save.json "19 1" owner=1 occupied=1 highlighted=1
expect_cell before-save.json "8 6" owner=0 occupied=1 kills=1
expect_field after-save.json saveScreenActive 0
expect_field after-save.json menuVisible 1
expect_field after-save.json fileName "[65, 66, 67, 68, 69]"
expect_field after-save.json fileNameLength 5

# The new game stands on other squares, white to move.
expect_field new-game.json currentPlayer 0
expect_cell new-game.json "19 1" occupied=-1
expect_cell new-game.json "0 8" owner=0 occupied=1

# The load happened in the first frame of the load screen: the frame of the click on "Charger",
# right after the menu's frame.
expect_field load-menu.json loadScreenActive 0
expect_field after-load.json loadScreenActive 1
[ "$(field after-load.json frame)" = "$(($(field load-menu.json frame) + 1))" ] ||
    fail "the load screen's first frame is not the frame after the menu's"
expect_field after-load.json playPhase 1

# The loaded game equals the saved one, all 300 cells, the counters and the timers, except:
# - frame, cursorX, cursorY, leftButton: the mouse (the button is held on "Charger");
# - blinkCounter: not in the file; blinkHidden: the file holds it as it was when written
#   (checked against the file below);
# - pieceCount: not in the file, the new game's count stays;
# - loadScreenActive: the load screen is still open (it reads the file in every frame);
# - fileName, fileNameLength, currentLetter: the name built on the save screen.
# onBoard (recounted from the board), reserve (0), the phases, capturesThisTurn (0), the
# selection and the player to move must all be back as they were.
normalise() {
    sed -E -e '/^"frame": /d' \
        -e 's/"(cursorX|cursorY|leftButton|blinkCounter|blinkHidden|pieceCount|loadScreenActive|fileNameLength|currentLetter)": -?[0-9]+, //g' \
        -e 's/"fileName": \[[^]]*\], //' "$1"
}
normalise before-save.json >before-save.normal
normalise after-load.json >after-load.normal
cmp -s before-save.normal after-load.normal ||
    fail "the loaded game differs from the saved one: $(diff before-save.normal after-load.normal | head -6)"
[ "$(field after-load.json blinkHidden)" = "${trailer%% *}" ] ||
    fail "blinkHidden after the load is not the file's"

# Back in the game: black's selected piece stepped to (18,2), then white selected (8,6).
expect_field played-on.json currentPlayer 0
expect_field played-on.json loadScreenActive 0
expect_field played-on.json menuVisible 0
expect_cell played-on.json "18 2" owner=1 occupied=1
expect_cell played-on.json "19 1" occupied=-1
expect_field played-on.json selectedX 8
expect_field played-on.json selectedY 6

exit $failed
