#!/usr/bin/env bash
# The installed game: `cmake --install` lays out the program, its pictures and sounds, the
# launcher, the desktop entry and the icon under a prefix; the launcher, started from anywhere,
# makes the player's data folder with sauv/ and the pictures and sounds linked in, and runs the
# game there: it shows the main menu, and "Quitter" ends it with exit code 0.
# Usage: install_test.sh GAME_DIR SOURCE_DIR
source "$(dirname "$0")/e2e/lib.sh"

build=$(cd "$E2E_GAME_DIR/.." && pwd)
prefix="$E2E_WORK/prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_WORK/install.log" 2>&1 ||
    e2e_fail "cmake --install failed: $(tail -n 5 "$E2E_WORK/install.log")"
e2e_pass "cmake --install into $prefix"

# The layout.
expect_file() {
    [ -f "$prefix/$1" ] || e2e_fail "$1 is not installed"
}
for file in bin/gorvendal libexec/gorvendal/gorvendal; do
    expect_file "$file"
    [ -x "$prefix/$file" ] || e2e_fail "$file is not executable"
done
for picture in cur grille pion win menu ok abcd; do
    expect_file "share/gorvendal/bitmaps/$picture.bmp"
done
for sound in clic depl att win; do
    expect_file "share/gorvendal/waves/$sound.wav"
done
expect_file share/applications/gorvendal.desktop
expect_file share/icons/hicolor/scalable/apps/gorvendal.svg
e2e_pass "program, launcher, 7 pictures, 4 sounds, desktop entry and icon in place"

desktop="$prefix/share/applications/gorvendal.desktop"
for line in "[Desktop Entry]" "Type=Application" "Name=Gorvendal" "Exec=gorvendal" \
    "Icon=gorvendal" "Terminal=false"; do
    grep -qxF "$line" "$desktop" || e2e_fail "the desktop entry lacks the line $line"
done
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || e2e_fail "the desktop entry is not valid"
fi
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/gorvendal.svg" ||
    e2e_fail "the icon is not an SVG picture"
e2e_pass "the desktop entry starts gorvendal with the gorvendal icon"

# The data folder: XDG_DATA_HOME when it is set. Without a display the game ends at once, after
# the launcher has made the folder.
home="$E2E_WORK/home"
mkdir -p "$home"
code=0
(cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER HOME="$home" \
    XDG_DATA_HOME="$home/xdg" timeout 20 "$prefix/bin/gorvendal" >/dev/null \
    2>"$E2E_WORK/no-display.err") || code=$?
[ "$code" -eq 0 ] || e2e_fail "the launcher without a display ended with exit code $code"
[ -d "$home/xdg/gorvendal/sauv" ] || e2e_fail "no sauv/ in \$XDG_DATA_HOME/gorvendal"
e2e_pass "XDG_DATA_HOME set: the data folder is \$XDG_DATA_HOME/gorvendal, with sauv/"

# Installed for the player alone (prefix ~/.local), the data folder is the installed share folder:
# the game runs among the installed pictures and sounds, which stay as they are.
cmake --install "$build" --prefix "$home/.local" >"$E2E_WORK/install-local.log" 2>&1 ||
    e2e_fail "cmake --install into ~/.local failed"
code=0
(cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_DATA_HOME HOME="$home" \
    timeout 20 "$home/.local/bin/gorvendal" >/dev/null 2>>"$E2E_WORK/no-display.err") || code=$?
[ "$code" -eq 0 ] || e2e_fail "the launcher in ~/.local ended with exit code $code"
local_data="$home/.local/share/gorvendal"
[ -d "$local_data/sauv" ] || e2e_fail "no sauv/ in $local_data"
for folder in bitmaps waves; do
    [ -d "$local_data/$folder" ] && [ ! -L "$local_data/$folder" ] ||
        e2e_fail "the installed $local_data/$folder was replaced"
done
[ -f "$local_data/bitmaps/menu.bmp" ] || e2e_fail "the installed pictures are gone"
e2e_pass "installed in ~/.local: the game's folder is the installed one, pictures untouched"
rm -rf "$home/.local"

# The launcher from /, with only HOME set: the data folder is ~/.local/share/gorvendal.
e2e_start_x
export HOME="$home"
unset XDG_DATA_HOME
e2e_start_command / "$prefix/bin/gorvendal"
data="$home/.local/share/gorvendal"
[ -d "$data/sauv" ] || e2e_fail "no $data/sauv"
for folder in bitmaps waves; do
    [ -L "$data/$folder" ] || e2e_fail "$data/$folder is not a link"
    [ "$(readlink -f "$data/$folder")" = "$(readlink -f "$prefix/share/gorvendal/$folder")" ] ||
        e2e_fail "$data/$folder does not lead to the installed $folder"
done
[ "$(readlink -f "/proc/$E2E_GAME_PID/cwd")" = "$(readlink -f "$data")" ] ||
    e2e_fail "the game does not run in $data"
[ "$(readlink -f "/proc/$E2E_GAME_PID/exe")" = "$(readlink -f "$prefix/libexec/gorvendal/gorvendal")" ] ||
    e2e_fail "the launcher did not run the installed program"
e2e_pass "the launcher made $data with sauv/, bitmaps and waves linked, and runs the game there"

# The main menu is there (the pictures were found): "Quitter", the sixth button, ends the game.
e2e_shot "$E2E_WORK/menu.png"
convert "$E2E_WORK/menu.png" -crop 150x75+325+500 +repage "$E2E_WORK/board-slot.png"
convert "$E2E_WORK/menu.png" -crop 150x75+325+425 +repage "$E2E_WORK/quit.png"
differing=$(compare -metric AE -fuzz 10% "$E2E_WORK/quit.png" "$E2E_WORK/board-slot.png" null: \
    2>&1 >/dev/null || true)
differing=${differing%%.*}
[ "${differing:-0}" -gt $((150 * 75 / 2)) ] || e2e_fail "no menu on the screen"
e2e_pass "the installed game shows its menu"
e2e_move 10 172
e2e_click
e2e_expect_exit 10 "Quitter in the installed game"
[ -z "$(ls -A "$data/sauv")" ] || e2e_fail "the game saved something without being asked"

e2e_done
