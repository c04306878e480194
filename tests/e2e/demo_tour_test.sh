#!/usr/bin/env bash
# The real twiqdemo under the scripted user: the tour (edit mode, reopen, other variant, Quit),
# the variant Original (no settings file), and the settings file beside the executable
# whatever the current folder.
# Usage: demo_tour_test.sh TWIQDEMO TWIQFILE TOUR_SCRIPT
set -euo pipefail
demo="$1"; twiqfile="$2"; tour="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work"
folder="$work/some folder"
mkdir -p "$folder" "$work/elsewhere"
cp "$demo" "$folder/twiqdemo"
fail() { echo "FAIL: $*"; exit 1; }

cat > "$work/original.script" <<'SCRIPT'
wait
menu "&Twiq"
window "Select Mode"
click ?ORIGINAL
click ?SELECT
wait
expect-window "Control Window"
window "Control Window"
expect ?BUTTON3:2 XPos 252
click ?OKBUTTON
wait
quit
SCRIPT
cd "$work/elsewhere"
TWIQRT_DISPLAY="script:$work/original.script" "$folder/twiqdemo" || fail "original script"
[ ! -e "$folder/twiqdemo.twiq" ] || fail "Original created a settings file"

TWIQRT_DISPLAY="script:$tour" "$folder/twiqdemo" > "$work/tour.out" || { cat "$work/tour.out"; fail "tour"; }
[ -f "$folder/twiqdemo.twiq" ] || fail "no settings file beside the executable"
[ ! -e "$work/elsewhere/twiqdemo.twiq" ] || fail "settings file in the current folder"
moved=$("$twiqfile" dump "$folder/twiqdemo.twiq" | grep '"UNIQUEMARKER":"FLAT","CONTROLLABEL":"?BUTTON3:2"')
echo "$moved" | grep -q '"X":272,"Y":54,' || fail "the move is not stored: $moved"
colors=$("$twiqfile" dump "$folder/twiqdemo.twiq" | grep -c '"UNIQUEMARKER":"COLORS"' || true)
[ "$colors" -eq 0 ] || fail "COLORS got records without being edited"

# Two Control Windows at once, each on its own thread: FLAT (customised by the tour) and
# COLORS; edit mode in the COLORS window moves its Test button and leaves FLAT's alone.
cat > "$work/two.script" <<'SCRIPT'
wait
menu "&Twiq"
window "Select Mode"
click ?FLAT
click ?SELECT
wait
window
menu "&Twiq"
window "Select Mode"
click ?COLORS
click ?SELECT
wait
window "Control Window"
expect ?BUTTON3:2 XPos 252
click ?TESTENTRY
key Ctrl+Alt+D
press 426 89
move 420 89
move 414 89
release 414 89
key Esc
click ?OKBUTTON
wait
window "Control Window"
expect ?BUTTON3:2 XPos 272
click ?OKBUTTON
wait
quit
SCRIPT
TWIQRT_DISPLAY="script:$work/two.script" "$folder/twiqdemo" || fail "two windows script"
dump=$("$twiqfile" dump "$folder/twiqdemo.twiq")
echo "$dump" | grep '"UNIQUEMARKER":"COLORS","CONTROLLABEL":"?BUTTON3:2"' | grep -q '"X":244,' ||
  fail "the COLORS move is not stored"
echo "$dump" | grep '"UNIQUEMARKER":"FLAT","CONTROLLABEL":"?BUTTON3:2"' | grep -q '"X":272,' ||
  fail "FLAT changed"
echo "1 passed, 0 failed"
