#!/usr/bin/env bash
# smoke_test.sh <prefix> <tintwright.exe>
#
# Runs the real program under Wine on a private X server the way a user does:
# types the ROM's path into the "Open Source Snes Rom ..." dialog and the save
# path into "Save Rom as ...", waits for the main window, checks that the first
# save copy holds the ROM's bytes, closes the window with Alt+F4 and expects
# exit code 0. Then starts it with a ROM and a save path on the command line,
# in folders with blanks and names beyond ASCII: no dialog may appear, the main
# window must, and the save file must hold the ROM's bytes. Last it starts the
# program once more and cancels the first dialog, which must end the program
# with exit code -1 (255 as the Unix status).
# SCREENSHOT=<file.png> keeps a picture of the screen with the main window.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

if [ "${1:-}" != "--inside" ]; then
  source "$here/wine_env.sh" "$1"
  exec timeout -k 5 120 xvfb-run -a -s "$XVFB_SCREEN" "$0" --inside "$@"
fi
shift
source "$here/wine_env.sh" "$1"
exe="$2"

work="$(mktemp -d /tmp/tintwright-smoke.XXXXXX)"
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "smoke test: $*" >&2
  if [ -n "${SCREENSHOT:-}" ]; then import -window root "$SCREENSHOT" || true; fi
  exit 1
}

# A ROM whose colour words are all different, so a wrong copy shows.
make_rom() {
  local escapes="" word index pair
  for ((index = 0; index < 0x2000; index++)); do
    word=$(((index * 0x0C65 + 0x1234) & 0x7FFF))
    printf -v pair '\\%03o\\%03o' $((word & 0xFF)) $((word >> 8))
    escapes+=$pair
  done
  printf "$escapes" >"$1"
}
make_rom "$work/rom.smc"

windows_path() { local path="$1"; echo "Z:${path//\//\\}"; }

# The first visible window whose title matches, once it exists. Polled:
# xdotool's own waiting gives up when a window vanishes while it looks, and
# the file dialogs make and destroy windows all the time.
wait_for_window() {
  local ids deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null) || ids=""
    if [ -n "$ids" ]; then
      echo "${ids%%$'\n'*}"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

type_path_into() {
  xdotool windowfocus --sync "$1"
  sleep 0.3
  xdotool type --delay 15 "$2"
  xdotool key Return
}

# Waits for the program to end and sets status to its exit status. Not in a
# subshell: only this shell can wait for its child.
wait_for_exit() {
  for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then fail "the program did not end"; fi
  status=0
  wait "$pid" || status=$?
  pid=""
}

start_program() {
  "$WINE" "$exe" "$@" >"$work/wine.log" 2>&1 &
  pid=$!
}

main_title='^Tintwright v1\.6 - Snes Rom Pallette Editor$'
dialog_titles='^(Open Source Snes Rom|Save Rom as) \.\.\.$'

close_main_window_expecting_success() {
  xdotool windowfocus --sync "$1"
  sleep 0.3
  xdotool key alt+F4
  wait_for_exit
  [ "$status" -eq 0 ] || fail "closing ended the program with status $status instead of 0"
}

# --- A whole run: both dialogs answered, main window shown, closed. -------
start_program
open=$(wait_for_window '^Open Source Snes Rom \.\.\.$') || fail "the open dialog never appeared"
type_path_into "$open" "$(windows_path "$work/rom.smc")"
save=$(wait_for_window '^Save Rom as \.\.\.$') || fail "the save dialog never appeared"
type_path_into "$save" "$(windows_path "$work/saved.smc")"
main=$(wait_for_window "$main_title") || fail "the main window never appeared"

cmp -s "$work/rom.smc" "$work/saved.smc" || fail "the first save copy does not hold the ROM's bytes"
if [ -n "${SCREENSHOT:-}" ]; then
  sleep 1
  import -window root "$SCREENSHOT"
fi

close_main_window_expecting_success "$main"

# --- Both files on the command line, as "Open with" or a drop gives them. ---
# The omega is beyond the Western code page: only the UTF-8 the manifest asks
# for can name it.
mkdir -p "$work/ROMs/Pokémon" "$work/my saves"
cp "$work/rom.smc" "$work/ROMs/Pokémon/ä.smc"
start_program "$(windows_path "$work/ROMs/Pokémon/ä.smc")" "$(windows_path "$work/my saves/Sauvé ö Ω.smc")"
if ! main=$(wait_for_window "$main_title"); then
  if xdotool search --onlyvisible --name "$dialog_titles" >/dev/null 2>&1; then
    fail "a file dialog appeared although the command line named both files"
  fi
  fail "the main window never appeared with both files on the command line"
fi
if xdotool search --onlyvisible --name "$dialog_titles" >/dev/null 2>&1; then
  fail "a file dialog is open beside the main window"
fi
cmp -s "$work/rom.smc" "$work/my saves/Sauvé ö Ω.smc" ||
  fail "the first save copy named on the command line does not hold the ROM's bytes: $(ls "$work/my saves")"
[ "$(ls -A "$work/my saves")" = "Sauvé ö Ω.smc" ] || fail "more than the save file in its folder: $(ls -A "$work/my saves")"
close_main_window_expecting_success "$main"

# --- Cancel at start-up. ---------------------------------------------------
start_program
open=$(wait_for_window '^Open Source Snes Rom \.\.\.$') || fail "the open dialog never appeared (second run)"
xdotool windowfocus --sync "$open"
sleep 0.3
xdotool key Escape
wait_for_exit
[ "$status" -eq 255 ] || fail "cancelling ended the program with status $status instead of 255 (-1)"

echo "smoke test passed"
