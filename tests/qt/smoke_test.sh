#!/usr/bin/env bash
# The real program from start to exit on a virtual X server: answer the two
# start-up file dialogs by typing, check the painted strip on a screenshot and
# the first save copy, then leave through File > Exit and expect exit code 0.
# Usage: smoke_test.sh path/to/tintwright [samples-folder]
set -uo pipefail

if [ -z "${TINTWRIGHT_SMOKE_DISPLAY:-}" ]; then
  # A display of its own, whatever the caller runs on.
  exec env TINTWRIGHT_SMOKE_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

program=$1
samples=${2:-}
work=$(mktemp -d)
app_pid=""

cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then kill -9 "$app_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "smoke test failed: $*" >&2
  [ -f "$work/app.log" ] && sed 's/^/  program: /' "$work/app.log" >&2
  exit 1
}

# Waits at most $1 seconds for a window whose title contains $2; prints its id.
# Polls rather than using --sync, which gives up when another window vanishes
# during the search.
wait_for_window() {
  local deadline=$((SECONDS + $1)) found=""
  while [ -z "$found" ] && [ $SECONDS -lt $deadline ]; do
    found=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n 1)
    [ -n "$found" ] || sleep 0.1
  done
  echo "$found"
}

# The colour of one screen pixel of the screenshot as RRGGBB.
pixel_at() {
  convert "$work/screen.png" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1 | tr -d '#'
}

# The 24-bit colour cell i of the strip shows at view offset 0x100, as RRGGBB:
# the little-endian word there, five bits a channel, red lowest.
expected_cell_colour() {
  local bytes low high word
  bytes=$(od -An -tu1 -j $((0x100 + 2 * $1)) -N2 "$rom")
  read -r low high <<<"$bytes"
  word=$((low | high << 8))
  printf '%02X%02X%02X\n' $(((word & 31) << 3)) $((((word >> 5) & 31) << 3)) $((((word >> 10) & 31) << 3))
}

# The program runs from a folder of its own, so its settings file is a temporary one.
mkdir -p "$work/bin"
cp "$program" "$work/bin/tintwright" || fail "cannot copy $program"
rom="$work/game.smc"
if [ -n "$samples" ] && [ -f "$samples/sample.smc" ]; then
  cp "$samples/sample.smc" "$rom"
  [ -f "$samples/tintwright.ini" ] && cp "$samples/tintwright.ini" "$work/bin/tintwright.ini"
else
  # Without the samples: 8 KiB of distinct colour words.
  for i in $(seq 0 4095); do
    word=$(((i * 37) & 0x7FFF))
    printf -v pair '\\x%02x\\x%02x' $((word & 255)) $((word >> 8))
    printf "$pair"
  done >"$rom"
fi
save="$work/edited.smc"

cd "$work" || fail "no work folder"
env -u QT_QPA_PLATFORM TINTWRIGHT_REPORT_FIRST_PAINT=1 "$work/bin/tintwright" >"$work/app.log" 2>&1 &
app_pid=$!

dialog=$(wait_for_window 20 "Open Source Snes Rom")
[ -n "$dialog" ] || fail "the open dialog did not appear"
sleep 0.3
xdotool type --delay 2 "$rom" && xdotool key Return

dialog=$(wait_for_window 20 "Save Rom as")
[ -n "$dialog" ] || fail "the save dialog did not appear"
sleep 0.3
xdotool type --delay 2 "$save" && xdotool key Return

window=$(wait_for_window 20 "Tintwright v1.6 - Snes Rom Pallette Editor")
[ -n "$window" ] || fail "the main window did not appear"
timeout 20 sh -c "until grep -q 'first paint' '$work/app.log'; do sleep 0.1; done" || fail "the strip was never painted"
sleep 0.5

# The client area is the bottom 332 rows of the window, under the menu bar.
eval "$(xdotool getwindowgeometry --shell "$window")"
client_x=$X
client_y=$((Y + HEIGHT - 332))
import -window root "$work/screen.png" || fail "no screenshot"
for cell in 0 5 31; do
  expected=$(expected_cell_colour "$cell")
  shown=$(pixel_at $((client_x + 60 + 20 * cell + 10)) $((client_y + 228 + 30)))
  [ "$shown" = "$expected" ] || fail "strip cell $cell shows $shown, expected $expected"
done

[ -f "$save" ] || fail "no first save copy at $save"
cmp -s "$rom" "$save" || fail "the first save copy differs from the ROM"

xdotool windowfocus --sync "$window"
xdotool key alt+f
sleep 0.3
xdotool key x
for _ in $(seq 1 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "File > Exit did not end the program"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"

grep 'first paint' "$work/app.log"
echo "smoke test passed"
