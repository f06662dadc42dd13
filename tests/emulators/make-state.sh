#!/usr/bin/env bash
# Runs a real emulator on a ROM and keeps the save state it writes:
#   make-state.sh EMULATOR ROM STATE [PATCH]
# EMULATOR is mednafen-snes, mednafen-snes_faust, bsnes-mercury (the libretro
# core through our host), retroarch or retroarch-compressed (Debian's
# RetroArch with the bsnes-mercury core, its state plain or RZIP). With PATCH,
# the IPS file goes beside the ROM under the name mednafen looks for. The
# emulator runs in a new folder that is its home and is removed afterwards;
# `timeout` stops the whole process group (emulator, X server, session bus)
# when it overruns, so nothing is left running.
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

# The bytes RetroArch has written of a state so far: a plain state's size,
# or the total an RZIP header holds, which RetroArch writes when it closes
# the file.
written_size() {
  [ -f "$1" ] || return 0
  if [ "$(head -c 6 "$1")" = "#RZIPv" ]; then
    od -An -t u8 -j 12 -N 8 "$1" | tr -d ' '
  else
    stat -c %s "$1"
  fi
}

# Inside the X server and a session bus of its own: start RetroArch, wait
# until its command port is up (the content runs by then), let the ROM run,
# ask for a state with the datagram SAVE_STATE, and wait until RetroArch has
# written the size it logged for that state.
if [ "${1:-}" = "--inside-retroarch" ]; then
  config=$2 rom=$3 log=$4 written=$5 port=$6
  retroarch --verbose -c "$config" -L "$BSNES_MERCURY_CORE" "$rom" >"$log" 2>&1 &
  emulator=$!
  for _ in $(seq 300); do
    if grep -q "command_interface_at_port $port" "$log" || ! kill -0 "$emulator" 2>/dev/null; then break; fi
    sleep 0.1
  done
  kill -0 "$emulator" 2>/dev/null || { echo "RetroArch ended before its command port was up" >&2; exit 1; }
  sleep "$SECONDS_RUNNING"
  echo -n SAVE_STATE >"/dev/udp/127.0.0.1/$port"
  status=1
  for _ in $(seq 300); do
    size=$(sed -n 's/.*Saving state ".*", \([0-9]*\) bytes\..*/\1/p' "$log")
    if [ -n "$size" ] && [ "$(written_size "$written")" = "$size" ]; then status=0; break; fi
    sleep 0.1
  done
  kill -TERM "$emulator"
  wait "$emulator" || true
  [ "$status" -eq 0 ] || echo "RetroArch wrote no whole state to $written" >&2
  exit "$status"
fi

# A UDP port nobody on this machine has bound (a race with another program
# is possible but unlikely among 40000 ports).
free_udp_port() {
  local port hex
  for _ in $(seq 100); do
    port=$((20000 + RANDOM % 40000))
    printf -v hex ':%04X ' "$port"
    if ! grep -qs "$hex" /proc/net/udp /proc/net/udp6; then
      echo "$port"
      return
    fi
  done
  echo "no free UDP port found" >&2
  return 1
}

# RetroArch's settings for a run without sound, game mode or a user's
# folders: Debian's cores and their information files, every file it writes
# inside the work folder $1, network commands on port $2, compression $3.
write_retroarch_config() {
  cat <<EOF
audio_driver = "null"
gamemode_enable = "false"
libretro_directory = "/usr/lib/x86_64-linux-gnu/libretro"
libretro_info_path = "/usr/share/libretro/info"
network_cmd_enable = "true"
network_cmd_port = "$2"
savestate_directory = "$1/states"
savefile_directory = "$1/saves"
savestate_file_compression = "$3"
savestate_thumbnail_enable = "false"
savestate_auto_save = "false"
pause_nonactive = "false"
config_save_on_exit = "false"
EOF
}

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
  retroarch | retroarch-compressed)
    compression=false
    [ "$emulator" = retroarch ] || compression=true
    port=$(free_udp_port)
    mkdir "$work/states" "$work/saves"
    write_retroarch_config "$work" "$port" "$compression" >"$work/retroarch.cfg"
    HOME=$work timeout -k 5 60 dbus-run-session -- xvfb-run -a -s "-screen 0 640x480x24" "$0" --inside-retroarch \
      "$work/retroarch.cfg" "$work/game.sfc" "$work/retroarch.log" "$work/states/game.state" "$port" ||
      { cat "$work/retroarch.log" >&2; exit 1; }
    cp "$work/states/game.state" "$state"
    ;;
  *)
    echo "unknown emulator $emulator" >&2
    exit 2
    ;;
esac
