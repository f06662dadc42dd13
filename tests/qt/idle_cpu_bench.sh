#!/usr/bin/env bash
# How much processor time the idle editor takes on a virtual X server: the real
# program on the sample ROM, its 50 ms screen tracker running, the pointer
# still. Prints the share of one core over the measured seconds. A measurement
# for `make bench`, not a test: it passes or fails nothing.
# Usage: idle_cpu_bench.sh path/to/tintwright [samples-folder] [seconds]
set -uo pipefail
source "$(dirname "$0")/editor_session.sh"
run_on_own_display "$@"
begin_session "idle CPU measurement"

seconds=${3:-10}

# User plus system time of the whole process (all threads), in clock ticks.
cpu_ticks() {
  local stat
  stat=$(cat "/proc/$app_pid/stat") || fail "the program is gone"
  # Fields counted after the command name, which may hold blanks: utime and stime are 14 and 15.
  read -r -a fields <<<"${stat##*) }"
  echo $((fields[11] + fields[12]))
}

start_editor "$1" "${2:-}"
read -r x y <<<"$(client_to_screen 400 60)"  # over the picker picture, away from every control
xdotool mousemove --sync "$x" "$y"
sleep 1  # start-up work and the move's repaint are not idling

before=$(cpu_ticks)
sleep "$seconds"
after=$(cpu_ticks)
hertz=$(getconf CLK_TCK)
ticks=$((after - before))
percent=$(awk -v t="$ticks" -v h="$hertz" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / h / s }')
echo "idle editor: ${percent} % of one core over ${seconds} s" \
  "(${ticks} ticks of 1/${hertz} s, tracker every 50 ms, pointer still)"
exit_editor
