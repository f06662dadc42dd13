#!/usr/bin/env bash
# idle_cpu_bench.sh <prefix> <tintwright.exe> [seconds]: how much processor
# time the idle Win32 editor takes under Wine on a virtual X server, with its
# 50 ms screen tracker running and the pointer still over the picker picture.
# Prints the program's share of one core and the wineserver's beside it. A
# measurement for `make bench`, not a test: it passes or fails nothing.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh" "$1"
source "$(dirname "$0")/../../support/cpu_share.sh"
exe="$2"
seconds="${3:-10}"
# The measurement needs an X server of its own: the script runs itself there.
if [ -z "${TINTWRIGHT_ON_OWN_DISPLAY:-}" ]; then
  TINTWRIGHT_ON_OWN_DISPLAY=1 exec timeout -k 5 120 xvfb-run -a -s "$XVFB_SCREEN" "$0" "$@"
fi

rom="$(mktemp /tmp/tintwright-idle.XXXXXX)"
pid=""
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -f "$rom" "$rom.save"' EXIT

head -c 65536 /dev/urandom >"$rom"
"$WINE" "$exe" "Z:${rom//\//\\}" "Z:${rom//\//\\}.save" >/dev/null 2>&1 &
pid=$!
main=""
for _ in $(seq 150); do
  main=$(xdotool search --onlyvisible --name '^Tintwright v' 2>/dev/null | head -n 1) || main=""
  [ -n "$main" ] && break
  sleep 0.2
done
[ -n "$main" ] || { echo "idle CPU measurement: the main window never appeared" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --sync $((X + 400)) $((Y + 60))  # over the picker picture, away from every control
sleep 2  # start-up work and the move's repaint are not idling

server=$(pgrep -n -x wineserver || pgrep -n wineserver)
program_before=$(cpu_ns "$pid")
server_before=$(cpu_ns "$server")
sleep "$seconds"
program_after=$(cpu_ns "$pid")
server_after=$(cpu_ns "$server")
program=$((program_after - program_before))
server=$((server_after - server_before))
echo "idle Win32 editor under Wine: $(cpu_share "$program" "$seconds") of one core," \
  "wineserver $(cpu_share "$server" "$seconds"), over ${seconds} s, $(cpu_placement)" \
  "(tracker every 50 ms, pointer still)"
