#!/usr/bin/env bash
# How much processor time the idle editor takes on a virtual X server: the real
# program on the sample ROM, its 50 ms screen tracker running, the pointer
# still. Prints the share of one core over the measured seconds. A measurement
# for `make bench`, not a test: it passes or fails nothing.
# Usage: idle_cpu_bench.sh path/to/tintwright [samples-folder] [seconds]
set -uo pipefail
source "$(dirname "$0")/editor_session.sh"
source "$(dirname "$0")/../support/cpu_share.sh"
run_on_own_display "$@"
begin_session "idle CPU measurement"

seconds=${3:-10}

start_editor "$1" "${2:-}"
read -r x y <<<"$(client_to_screen 400 60)"  # over the picker picture, away from every control
xdotool mousemove --sync "$x" "$y"
sleep 1  # start-up work and the move's repaint are not idling

before=$(cpu_ns "$app_pid") || fail "the program is gone"
sleep "$seconds"
after=$(cpu_ns "$app_pid") || fail "the program is gone"
used=$((after - before))
echo "idle editor: $(cpu_share "$used" "$seconds") of one core over ${seconds} s, $(cpu_placement)" \
  "(tracker every 50 ms, pointer still)"
exit_editor
