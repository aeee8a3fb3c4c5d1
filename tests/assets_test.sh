#!/bin/bash
# The picture and sound generator: it writes the same bytes at every run (those the build put
# into the playable folder), and it fails with a message when it cannot write its files.
# Arguments: GAME_DIR SOURCE_DIR.
set -u
game_dir=$1
generator=$game_dir/../tools/assets/gorvendal-assets
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

files="bitmaps/cur.bmp bitmaps/grille.bmp bitmaps/pion.bmp bitmaps/win.bmp bitmaps/menu.bmp
       bitmaps/ok.bmp bitmaps/abcd.bmp waves/clic.wav waves/depl.wav waves/att.wav waves/win.wav"

"$generator" "$work/first" || fail "the first run failed"
"$generator" "$work/second" || fail "the second run failed"
for file in $files; do
    cmp -s "$work/first/$file" "$work/second/$file" || fail "$file differs between two runs"
    cmp -s "$work/first/$file" "$game_dir/$file" || fail "$file differs from the playable folder's"
done
# Nothing is left behind but the eleven files.
count=$(find "$work/first" -type f | wc -l)
[ "$count" -eq 11 ] || fail "expected 11 files, found $count"

# A file where the bitmaps folder should be: the run fails and says why.
mkdir -p "$work/blocked"
touch "$work/blocked/bitmaps"
if "$generator" "$work/blocked" 2>"$work/error"; then
    fail "a run that could not write its pictures succeeded"
fi
grep -q "gorvendal-assets: cannot" "$work/error" || fail "no message: $(cat "$work/error")"

# A picture that cannot be replaced (a folder in its place): the run fails and says why.
mkdir -p "$work/taken/bitmaps/win.bmp"
if "$generator" "$work/taken" 2>"$work/error"; then
    fail "a run that could not write win.bmp succeeded"
fi
grep -q "win.bmp" "$work/error" || fail "the message does not name the file: $(cat "$work/error")"

"$generator" 2>"$work/error" && fail "a run without a folder succeeded"
grep -q "usage" "$work/error" || fail "no usage message"

exit $failed
