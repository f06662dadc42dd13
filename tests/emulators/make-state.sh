#!/usr/bin/env bash
# Runs a real emulator on a ROM and keeps the save state it writes:
#   make-state.sh EMULATOR ROM STATE [PATCH]
# EMULATOR is mednafen-snes, mednafen-snes_faust or bsnes-mercury. With PATCH,
# the IPS file goes beside the ROM under the name mednafen looks for. The
# emulator runs in a new folder that is its home and is removed afterwards;
# `timeout` stops the whole process group (emulator and X server) when it
# overruns, so nothing is left running.
set -euo pipefail

# How long the game runs once mednafen shows its window.
SECONDS_RUNNING=${SECONDS_RUNNING:-1.5}
LIBRETRO_HOST=${LIBRETRO_HOST:-}
BSNES_MERCURY_CORE=${BSNES_MERCURY_CORE:-/usr/lib/x86_64-linux-gnu/libretro/bsnes_mercury_balanced_libretro.so}

# Inside the X server: start mednafen, wait for its window (its log names
# the video rectangle then; a loaded machine may take a while), let the ROM
# run, then SIGTERM makes it write its automatic state (-autosave 1) and exit.
if [ "${1:-}" = "--inside-x" ]; then
  /usr/games/mednafen -sound 0 -video.driver softfb -autosave 1 -force_module "$2" "$3" >"$4" 2>&1 &
  emulator=$!
  for _ in $(seq 200); do
    if grep -q "Destination Rectangle" "$4" || ! kill -0 "$emulator" 2>/dev/null; then break; fi
    sleep 0.2
  done
  sleep "$SECONDS_RUNNING"
  kill -TERM "$emulator"
  wait "$emulator"
  exit
fi

[ $# -ge 3 ] || { echo "usage: $0 EMULATOR ROM STATE [PATCH]" >&2; exit 2; }
emulator=$1 rom=$2 state=$3 patch=${4:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/tintwright-emulator.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$rom" "$work/game.sfc"
[ -z "$patch" ] || cp "$patch" "$work/game.sfc.ips"

case $emulator in
  mednafen-snes | mednafen-snes_faust)
    HOME=$work MEDNAFEN_HOME=$work timeout -k 5 60 \
      xvfb-run -a -s "-screen 0 640x480x24" "$0" --inside-x "${emulator#mednafen-}" "$work/game.sfc" \
      "$work/mednafen.log" || { cat "$work/mednafen.log" >&2; exit 1; }
    written=("$work"/mcs/*.mca)
    [ -f "${written[0]}" ] || { echo "mednafen wrote no state" >&2; cat "$work/mednafen.log" >&2; exit 1; }
    cp "${written[0]}" "$state"
    # Kept for the test that checks mednafen applied the patch.
    cp "$work/mednafen.log" "$state.log"
    ;;
  bsnes-mercury)
    [ -n "$LIBRETRO_HOST" ] || { echo "LIBRETRO_HOST is not set" >&2; exit 2; }
    timeout -k 5 60 "$LIBRETRO_HOST" "$BSNES_MERCURY_CORE" "$work/game.sfc" 30 "$work/state.bst"
    cp "$work/state.bst" "$state"
    ;;
  *)
    echo "unknown emulator $emulator" >&2
    exit 2
    ;;
esac
