#!/usr/bin/env bash
# The real program from start to exit on a virtual X server: answer the two
# start-up file dialogs by typing, check the painted strip on a screenshot and
# the first save copy, then leave through File > Exit and expect exit code 0.
# Usage: smoke_test.sh path/to/tintwright [samples-folder]
set -uo pipefail
source "$(dirname "$0")/editor_session.sh"
run_on_own_display "$@"
begin_session "smoke test"

start_editor "$1" "${2:-}"

take_screenshot
for cell in 0 5 31; do
  expected=$(expected_cell_colour "$cell")
  shown=$(client_pixel $((60 + 20 * cell + 10)) $((228 + 30)))
  [ "$shown" = "$expected" ] || fail "strip cell $cell shows $shown, expected $expected"
done

[ -f "$save" ] || fail "no first save copy at $save"
cmp -s "$rom" "$save" || fail "the first save copy differs from the ROM"

exit_editor

grep 'first paint' "$work/app.log"
echo "smoke test passed"
