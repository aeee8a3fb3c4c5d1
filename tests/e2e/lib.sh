# Shared by the end-to-end tests (tests/e2e_*_test.sh): an X server of their own, the real game
# in a scratch folder, a mouse and a keyboard driven with xdotool, screenshots, and the headless
# runner's picture of the same input to compare them with.
#
# A test sources this file with the game folder and the source folder as $1 and $2, calls
# e2e_start_x and e2e_start_game, then drives the game. Every wait is bounded; the X server,
# the game and any helper window are ended when the test ends, however it ends.

set -euo pipefail

E2E_GAME_DIR=$(cd "$1" && pwd)
E2E_SOURCE_DIR=$(cd "$2" && pwd)
E2E_NAME=$(basename "$0" .sh)
E2E_FAILED=0
E2E_GAME_PID=""
E2E_XVFB_PID=""
E2E_HELPER_PIDS=()
# The close command for a bare X server (WM_DELETE_WINDOW), built beside the game folder.
E2E_XCLOSE="$E2E_GAME_DIR/../e2e/gorvendal-xclose"

for tool in Xvfb xdotool import convert compare xwininfo xmessage timeout; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: $tool is missing (scripts/setup.sh installs xvfb, xdotool, x11-utils, imagemagick)"
        exit 1
    fi
done
for program in gorvendal gorvendal-replay; do
    if [ ! -x "$E2E_GAME_DIR/$program" ]; then
        echo "FAIL: $E2E_GAME_DIR/$program is not built"
        exit 1
    fi
done

E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/$E2E_NAME.XXXXXX")

e2e_cleanup() {
    local status=$?
    set +e
    if [ -n "$E2E_GAME_PID" ] && kill -0 "$E2E_GAME_PID" 2>/dev/null; then
        kill "$E2E_GAME_PID" 2>/dev/null
        sleep 0.5
        kill -9 "$E2E_GAME_PID" 2>/dev/null
    fi
    for pid in "${E2E_HELPER_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    if [ "$status" -ne 0 ] || [ "$E2E_FAILED" -ne 0 ]; then
        echo "The screenshots and logs stay in $E2E_WORK"
        for log in "$E2E_WORK"/game.err "$E2E_WORK"/xvfb.log; do
            if [ -s "$log" ]; then
                echo "--- $(basename "$log")"
                tail -n 20 "$log"
            fi
        done
    else
        rm -rf "$E2E_WORK"
    fi
}
trap e2e_cleanup EXIT
trap 'exit 1' INT TERM

e2e_fail() {
    echo "FAIL: $*"
    E2E_FAILED=1
    exit 1
}

e2e_pass() {
    echo "ok: $*"
}

# e2e_wait_until SECONDS COMMAND...: runs COMMAND again and again until it succeeds; false when it
# has not within SECONDS (whole seconds of the shell's clock).
e2e_wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    while :; do
        if "$@"; then
            return 0
        fi
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# An X server of our own, 800 x 600 like the game's picture, on a display number that no other X
# server uses (picked at random above the usual ones, so that nothing else on the machine talks to
# it by accident).
e2e_start_x() {
    local displayFile="$E2E_WORK/display"
    local attempt
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        local number=$((200 + RANDOM % 700))
        [ -e "/tmp/.X$number-lock" ] && continue
        : >"$displayFile"
        Xvfb ":$number" -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$displayFile" \
            >"$E2E_WORK/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        # Ready when it writes its display number; gone at once when the number was taken.
        local deadline=$((SECONDS + 15))
        while [ ! -s "$displayFile" ] && kill -0 "$E2E_XVFB_PID" 2>/dev/null &&
            [ "$SECONDS" -lt "$deadline" ]; do
            sleep 0.1
        done
        if [ -s "$displayFile" ]; then
            export DISPLAY=":$(head -n 1 "$displayFile")"
            e2e_pass "X server on display $DISPLAY, 800 x 600"
            return 0
        fi
        kill "$E2E_XVFB_PID" 2>/dev/null || true
        wait "$E2E_XVFB_PID" 2>/dev/null || true
        E2E_XVFB_PID=""
    done
    e2e_fail "no X server could be started"
}

# The game's folder as the game sees it: the programs, pictures and sounds of the build, an empty
# sauv/, and nothing else.
e2e_prepare_folder() {
    local folder="$E2E_WORK/game"
    mkdir -p "$folder/sauv"
    ln -s "$E2E_GAME_DIR/gorvendal" "$E2E_GAME_DIR/gorvendal-replay" "$E2E_GAME_DIR/bitmaps" \
        "$E2E_GAME_DIR/waves" "$folder/"
    echo "$folder"
}

E2E_FOLDER=""
E2E_AUDIO=""
E2E_WINDOW=""

# Starts the real game on our X server, its sound going to a file, and waits for its window and
# its first picture.
e2e_start_game() {
    E2E_FOLDER=$(e2e_prepare_folder)
    e2e_start_command "$E2E_FOLDER" ./gorvendal
}

# e2e_start_command FOLDER COMMAND...: the same for any command that starts the game, run in FOLDER.
e2e_start_command() {
    local folder=$1
    shift
    E2E_AUDIO="$E2E_WORK/audio.raw"
    (
        cd "$folder"
        SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_AUDIO" \
            exec "$@" >"$E2E_WORK/game.out" 2>"$E2E_WORK/game.err"
    ) &
    E2E_GAME_PID=$!
    e2e_wait_until 15 e2e_screen_not_black ||
        e2e_fail "the game showed no picture within 15 seconds"
    e2e_wait_until 5 e2e_find_window || e2e_fail "the game's window is not to be found"
    e2e_pass "the game (pid $E2E_GAME_PID) opened its window $E2E_WINDOW and shows a picture"
}

e2e_find_window() {
    E2E_WINDOW=$(xdotool search --onlyvisible --name '^Gorvendal$' 2>/dev/null | head -n 1)
    [ -n "$E2E_WINDOW" ]
}

e2e_screen_not_black() {
    kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the game ended during start-up"
    e2e_shot "$E2E_WORK/first.png"
    [ "$(convert "$E2E_WORK/first.png" -format '%[fx:maxima>0]' info:)" = 1 ]
}

# e2e_shot FILE: the whole X screen as a PNG.
e2e_shot() {
    import -window root -display "$DISPLAY" "$1"
}

# e2e_geometry: "X Y WIDTH HEIGHT" of the game's window.
e2e_geometry() {
    local info
    info=$(xwininfo -id "$E2E_WINDOW")
    echo "$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")" \
        "$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")" \
        "$(awk '/Width:/ {print $2}' <<<"$info")" "$(awk '/Height:/ {print $2}' <<<"$info")"
}

# Mouse and keyboard, as a player gives them. A click holds the button across several frames:
# a press and a release between the same two frames cancel out, as on the original platform.
e2e_move() {
    xdotool mousemove_relative -- "$1" "$2"
    sleep 0.1
}

e2e_click() {
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
    sleep 0.15
}

e2e_key() {
    xdotool keydown "$1"
    sleep 0.15
    xdotool keyup "$1"
    sleep 0.15
}

# e2e_reference NAME SCRIPT: the headless runner's picture after the same input (SCRIPT holds the
# runner's commands before the shot), in $E2E_WORK/NAME.bmp.
e2e_reference() {
    local name=$1
    local script="$E2E_WORK/$name.txt"
    printf '%s\nframe 3\nshot %s\n' "$2" "$E2E_WORK/$name.bmp" >"$script"
    (cd "$E2E_FOLDER" && timeout 60 ./gorvendal-replay "$script" >"$E2E_WORK/$name.out" \
        2>"$E2E_WORK/$name.err") || e2e_fail "the headless runner failed on $script"
    [ -s "$E2E_WORK/$name.bmp" ] || e2e_fail "the headless runner wrote no picture for $name"
}

# e2e_differing A B [GEOMETRY]: how many pixels of the two pictures (or of the WxH+X+Y part of
# both) differ by more than a rounding of the 16-bit colours.
e2e_differing() {
    local geometry=${3:-800x600+0+0}
    local count
    convert "$1" -crop "$geometry" +repage "$E2E_WORK/part-a.png"
    convert "$2" -crop "$geometry" +repage "$E2E_WORK/part-b.png"
    count=$(compare -metric AE -fuzz 4% "$E2E_WORK/part-a.png" "$E2E_WORK/part-b.png" null: 2>&1 \
        >/dev/null || true)
    echo "${count%%.*}"
}

# e2e_same_picture WHAT SHOT REFERENCE [GEOMETRY]: the screen (taken into SHOT) shows exactly the
# game's picture REFERENCE, or the part GEOMETRY of it. A slow machine may need a few frames to
# show the last input: the screen is taken again for up to 10 seconds.
e2e_same_picture() {
    local what=$1
    local count=""
    local tries=20
    while [ "$tries" -gt 0 ]; do
        e2e_shot "$2"
        count=$(e2e_differing "$2" "$3" "${4:-800x600+0+0}")
        [[ "$count" =~ ^[0-9]+$ ]] || e2e_fail "$what: cannot compare $2 with $3 ($count)"
        if [ "$count" -eq 0 ]; then
            e2e_pass "$what: the screen shows the same picture as the headless runner"
            return 0
        fi
        sleep 0.5
        tries=$((tries - 1))
    done
    e2e_fail "$what: $count pixels differ from the headless picture ($2, $3)"
}

# e2e_unchanged WHAT BEFORE AFTER: two screenshots show the same picture.
e2e_unchanged() {
    local count
    count=$(e2e_differing "$2" "$3")
    [[ "$count" =~ ^[0-9]+$ ]] || e2e_fail "$1: cannot compare $2 with $3 ($count)"
    [ "$count" -eq 0 ] || e2e_fail "$1: $count pixels changed on the screen ($2, $3)"
    e2e_pass "$1: the screen did not change"
}

# e2e_cpu_ticks: processor time the game has used so far, in clock ticks (user + system).
e2e_cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$E2E_GAME_PID/stat"
}

# e2e_expect_exit SECONDS WHAT: the game ends within SECONDS with exit code 0.
e2e_expect_exit() {
    local seconds=$1
    local what=$2
    if ! e2e_wait_until "$seconds" e2e_game_ended; then
        e2e_fail "$what: the game is still running after $seconds seconds"
    fi
    local code=0
    wait "$E2E_GAME_PID" || code=$?
    E2E_GAME_PID=""
    [ "$code" -eq 0 ] || e2e_fail "$what: the game ended with exit code $code"
    e2e_pass "$what: the game ended with exit code 0"
}

e2e_game_ended() {
    ! kill -0 "$E2E_GAME_PID" 2>/dev/null
}

e2e_done() {
    echo "$E2E_NAME: every check passed"
}
