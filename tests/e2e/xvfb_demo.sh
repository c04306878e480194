#!/usr/bin/env bash
# End-to-end test of twiqdemo on a real display server (Xvfb), driven by xdotool:
#
#   1. choose "&Twiq" from the frame's menu bar, then "Flat" and "&Select" in Select Mode;
#   2. in the Control Window press Ctrl+Alt+D (edit mode), drag the "Test" button 30 pixels
#      right and 20 down, press Esc (edit mode ends);
#   3. close the window with OK, open it again as in 1;
#   4. check the move: in the settings file (twiqfile dump: the FLAT record of ?BUTTON3:2) and
#      in screenshots of the frame before and after (the button's old place has changed).
#
# Usage: tests/e2e/xvfb_demo.sh [BUILD_DIR] [OUT_DIR]
#   BUILD_DIR  a build folder with twiqdemo and twiqfile (default: build)
#   OUT_DIR    where screenshots and logs are kept (default: a new folder under /tmp)
# Exit codes: 0 passed, 1 failed, 77 skipped (Xvfb, xdotool or ImageMagick missing, or a
# twiqdemo without edit mode), with the reason on standard output.
set -euo pipefail

build="${1:-build}"
out="${2:-$(mktemp -d /tmp/twiq-e2e.XXXXXX)}"
mkdir -p "$out"

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

for tool in Xvfb xdotool import compare convert; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (apt-get install xvfb xdotool imagemagick)"
done
exe="$build/twiqdemo/twiqdemo"
twiqfile="$build/tools/twiqfile/twiqfile"
[ -x "$exe" ] || skip "no $exe (build the demo first)"
[ -x "$twiqfile" ] || skip "no $twiqfile (build twiqfile first)"
lib="$(find "$build" -name 'libtwiqlib.so*' -type f | head -n 1)"
if [ -z "$lib" ] || ! grep -q 'P1\$MORPHWINDOW' "$lib"; then
  skip "twiqdemo has no edit mode yet (no edit-mode window in libtwiqlib)"
fi
grep -q 'the runtime is not built yet' "$exe" && skip "twiqdemo is still the placeholder"

# The settings file lies beside the executable: run a copy in a folder of its own.
work="$out/run"
rm -rf "$work"
mkdir -p "$work"
cp "$exe" "$work/twiqdemo"

# A display number nobody uses.
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || skip "no free display number between :90 and :120"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${display#:}" ] || fail "Xvfb did not start (see $out/xvfb.log)"

export DISPLAY="$display"
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export TWIQRT_DISPLAY=qt
# Client areas become X windows named twiqrt:LABEL with their origin at client point (0, 0),
# so the clicks below use the windows' own pixel coordinates.
export TWIQRT_QT_NATIVE_CLIENTS=1
(cd "$work" && exec ./twiqdemo) >"$out/twiqdemo.log" 2>&1 &
demo=$!
pids+=("$demo")

find_window() {  # name regex -> window id
  timeout 60 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

# Dialog units of the demo's 8-point font: x * 6 / 4 and y * 13 / 8 pixels (rounded).
px_x() { echo $(( ($1 * 6 + 2) / 4 )); }
px_y() { echo $(( ($1 * 13 + 4) / 8 )); }

click_at() {  # window id, x, y (pixels of its client area)
  xdotool mousemove --window "$1" --sync "$2" "$3" click 1
  sleep 0.3
}

frame="$(find_window '^Application$')" || fail "the frame did not open (see $out/twiqdemo.log)"
xdotool windowfocus --sync "$frame"

open_flat_control_window() {
  xdotool windowfocus --sync "$frame"
  xdotool key --clearmodifiers alt+t  # the "&Twiq" item of the menu bar
  local select
  select="$(find_window '^twiqrt:SelectMode\$Window$')" || fail "Select Mode did not open"
  # ?FLAT at (18, 30) size (120, 10); ?SELECT at (56, 96) size (48, 14), dialog units.
  click_at "$select" "$(px_x 78)" "$(px_y 35)"
  click_at "$select" "$(px_x 80)" "$(px_y 103)"
  find_window '^twiqrt:Main\$Window$' || fail "the Control Window did not open"
}

control="$(open_flat_control_window)"
sleep 0.5
import -window "$frame" "$out/before.png"

# Edit mode: Ctrl+Alt+D, then drag ?BUTTON3:2 ("Test", at (252, 48) size (64, 14)) by
# (+30, +20) pixels, then Esc.
xdotool key --clearmodifiers ctrl+alt+d
sleep 1
bx="$(px_x 284)"
by="$(px_y 55)"
xdotool mousemove --window "$control" --sync "$bx" "$by"
xdotool mousedown 1
sleep 0.3
for step in 1 2 3 4 5 6; do
  xdotool mousemove --window "$control" --sync $((bx + step * 5)) $((by + step * 20 / 6))
  sleep 0.1
done
xdotool mousemove --window "$control" --sync $((bx + 30)) $((by + 20))
sleep 0.2
xdotool mouseup 1
sleep 0.5
import -window "$frame" "$out/editing.png"
xdotool key Escape
sleep 1

# Close with OK (?OKBUTTON at (212, 208) size (50, 14)) and open it again.
click_at "$control" "$(px_x 237)" "$(px_y 215)"
sleep 0.5
control="$(open_flat_control_window)"
sleep 0.5
import -window "$frame" "$out/after.png"

# Where the Control Window's client area lies in the frame's screenshots.
origin() { xdotool getwindowgeometry --shell "$1" | sed -nE 's/^(X|Y)=(-?[0-9]+)$/\2/p' | paste -sd' '; }
read -r fx fy <<<"$(origin "$frame")"
read -r cx cy <<<"$(origin "$control")"
crop="$(px_x 64)x$(px_y 14)+$((cx - fx + $(px_x 252)))+$((cy - fy + $(px_y 48)))"

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers alt+f x || true  # File / Exit
for _ in $(seq 100); do kill -0 "$demo" 2>/dev/null || break; sleep 0.1; done

# The settings file holds the move: 30 pixels are 20 dialog units across, 20 pixels 12 down.
"$twiqfile" dump "$work/twiqdemo.twiq" >"$out/dump.txt" || fail "twiqfile dump failed"
record="$(grep '"UNIQUEMARKER":"FLAT"' "$out/dump.txt" | grep '"CONTROLLABEL":"?BUTTON3:2"' || true)"
[ -n "$record" ] || fail "no FLAT record of ?BUTTON3:2 in the settings file (see $out/dump.txt)"
x="$(sed -E 's/.*"X":(-?[0-9]+).*/\1/' <<<"$record")"
y="$(sed -E 's/.*"Y":(-?[0-9]+).*/\1/' <<<"$record")"
[ "$x" -eq 272 ] && [ "$y" -ge 59 ] && [ "$y" -le 61 ] ||
  fail "?BUTTON3:2 is stored at ($x, $y), expected (272, 60) dialog units"

# The screenshots: the button's old place in the Control Window looks different after.
convert "$out/before.png" -crop "$crop" +repage "$out/old_place_before.png"
convert "$out/after.png" -crop "$crop" +repage "$out/old_place_after.png"
changed="$(compare -metric AE "$out/old_place_before.png" "$out/old_place_after.png" null: 2>&1 || true)"
changed="${changed%% *}"
[ "${changed%.*}" -gt 200 ] 2>/dev/null ||
  fail "the button's old place did not change in the screenshots ($changed pixels differ)"

echo "PASS: ?BUTTON3:2 moved to ($x, $y) dialog units ($changed pixels changed at its old place);"
echo "      screenshots in $out"
