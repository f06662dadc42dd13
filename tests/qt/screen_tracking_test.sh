#!/usr/bin/env bash
# The screen colour tracker of the real program on a virtual X server: with
# "Track Cursor Color" ticked, the pointer over another program's window marks
# the strip cell of that window's colour with "?", left Control makes the
# colour current, and "Apply" writes it into the selected cell 16.
# Usage: screen_tracking_test.sh path/to/tintwright [samples-folder]
set -uo pipefail
source "$(dirname "$0")/editor_session.sh"
run_on_own_display "$@"
begin_session "screen tracking test"

# Any cell but 16, whose colour is the one Apply changes.
tracked_cell=5
patch_pid=""

end_tracking_session() {
  [ -n "$patch_pid" ] && kill "$patch_pid" 2>/dev/null
  end_session
}
trap end_tracking_session EXIT

# Pure white is never a ROM colour (no channel of a word reaches 255), so
# white pixels in a cell are the marker's glyph.
marker_pixels_in_cell() {
  local x y
  read -r x y <<<"$(client_to_screen $((60 + 20 * $1 + 1)) $((228 + 25)))"
  pixels_of_colour "$x" "$y" 18 14 FFFFFF
}

marker_in_tracked_cell() {
  take_screenshot
  [ "$(marker_pixels_in_cell "$tracked_cell")" -gt 5 ]
}

current_swatch_shows_colour() {
  take_screenshot
  [ "$(client_pixel 390 160)" = "$colour" ]
}

# Below the cursor glyphs of cell 16.
cell_16_pixel() {
  client_pixel $((60 + 20 * 16 + 10)) $((228 + 37))
}

cell_16_shows_colour() {
  take_screenshot
  [ "$(cell_16_pixel)" = "$colour" ]
}

click_client() {
  local x y
  read -r x y <<<"$(client_to_screen "$1" "$2")"
  xdotool mousemove --sync "$x" "$y" click 1
}

start_editor "$1" "${2:-}"
colour=$(expected_cell_colour "$tracked_cell")
[ "$colour" != "$(expected_cell_colour 16)" ] || fail "cells $tracked_cell and 16 hold one colour"

# Another program's window in the top-left corner, clear of the centred editor.
display -title "colour patch" -geometry +0+0 -size 120x100 "xc:#$colour" &
patch_pid=$!
[ -n "$(wait_for_window 20 "colour patch")" ] || fail "the colour patch window did not appear"
sleep 0.5
take_screenshot
[ "$(pixel_at 60 50)" = "$colour" ] || fail "the patch shows $(pixel_at 60 50), not $colour"

click_client 660 298  # "Track Cursor Color"
sleep 0.3
take_screenshot
[ "$(marker_pixels_in_cell "$tracked_cell")" -eq 0 ] ||
  fail "\"?\" in cell $tracked_cell before the pointer went over its colour"
xdotool mousemove --sync 60 50
retry_within 10 marker_in_tracked_cell ||
  fail "no \"?\" in cell $tracked_cell with the pointer over its colour"

# Apply moves the pointer away, so the colour must be current before.
xdotool key Control_L
retry_within 10 current_swatch_shows_colour || fail "left Control did not make $colour current"
click_client 642 210  # "Apply"
retry_within 10 cell_16_shows_colour || fail "cell 16 shows $(cell_16_pixel) after Apply, expected $colour"

exit_editor

echo "screen tracking test passed"
