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
echo "1 passed, 0 failed"
