# Functions for the scripts that drive the real editor on a virtual X server
# with xdotool. A script sources this file, calls run_on_own_display "$@" and
# begin_session, then start_editor.
# shellcheck shell=bash

# Re-runs the calling script on a display of its own, whatever the caller runs on.
run_on_own_display() {
  if [ -z "${TINTWRIGHT_OWN_DISPLAY:-}" ]; then
    exec env TINTWRIGHT_OWN_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
  fi
}

# A temporary folder for the run, removed with the editor when the script ends.
begin_session() {
  session_name=$1
  work=$(mktemp -d)
  app_pid=""
  trap end_session EXIT
}

end_session() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then kill -9 "$app_pid" 2>/dev/null; fi
  rm -rf "$work"
}

fail() {
  echo "$session_name failed: $*" >&2
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

take_screenshot() {
  import -window root "$work/screen.png" || fail "no screenshot"
}

# The colour of one pixel of the last screenshot as RRGGBB.
pixel_at() {
  convert "$work/screen.png" -crop "1x1+$1+$2" -depth 8 txt:- |
    grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1 | tr -d '#'
}

# How many pixels of a rectangle (x y width height) of the last screenshot
# have the colour RRGGBB.
pixels_of_colour() {
  convert "$work/screen.png" -crop "$3x$4+$1+$2" -depth 8 txt:- | grep -ci "#$5"
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

# The screen position of a main-window client pixel: the client area is the
# bottom 332 rows of the window, under the menu bar.
client_to_screen() {
  # shellcheck disable=SC2034 # eval sets them all; only some are read
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "$((X + $1)) $((Y + HEIGHT - 332 + $2))"
}

# The colour of a main-window client pixel on the last screenshot as RRGGBB.
client_pixel() {
  local x y
  read -r x y <<<"$(client_to_screen "$1" "$2")"
  pixel_at "$x" "$y"
}

# Runs a command every 0.2 s until it succeeds, for at most $1 seconds;
# returns its last status. Waits for the program without guessing how long a
# loaded machine takes.
retry_within() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

# The sample ROM, or without the samples 8 KiB of distinct colour words.
prepare_rom() {
  local samples=$1 i word pair
  rom="$work/game.smc"
  if [ -n "$samples" ] && [ -f "$samples/sample.smc" ]; then
    cp "$samples/sample.smc" "$rom"
    [ -f "$samples/tintwright.ini" ] && cp "$samples/tintwright.ini" "$work/bin/tintwright.ini"
  else
    for i in $(seq 0 4095); do
      word=$(((i * 37) & 0x7FFF))
      printf -v pair '\\x%02x\\x%02x' $((word & 255)) $((word >> 8))
      printf '%b' "$pair"
    done >"$rom"
  fi
}

# Starts the editor ($1, the built program; $2, the samples folder or empty)
# from a folder of its own, so its settings file is a temporary one; types the
# ROM and save paths into the two start-up dialogs and waits until the strip
# is painted. Sets app_pid, rom, save and window.
start_editor() {
  mkdir -p "$work/bin"
  cp "$1" "$work/bin/tintwright" || fail "cannot copy $1"
  prepare_rom "${2:-}"
  save="$work/edited.smc"

  cd "$work" || fail "no work folder"
  env -u QT_QPA_PLATFORM TINTWRIGHT_REPORT_FIRST_PAINT=1 "$work/bin/tintwright" >"$work/app.log" 2>&1 &
  app_pid=$!

  local dialog
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
  timeout 20 sh -c "until grep -q 'first paint' '$work/app.log'; do sleep 0.1; done" ||
    fail "the strip was never painted"
  sleep 0.5
}

# Leaves through File > Exit and waits for the program to end; fails unless it
# ends with exit code 0.
exit_editor() {
  xdotool windowfocus --sync "$window"
  xdotool key alt+f
  sleep 0.3
  xdotool key x
  for _ in $(seq 1 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "File > Exit did not end the program"
  local status
  wait "$app_pid"
  status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "exit code $status"
}
