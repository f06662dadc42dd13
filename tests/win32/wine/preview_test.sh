#!/usr/bin/env bash
# preview_test.sh <prefix> <tintwright-palette.exe> <core.dll> <crash.dll> <hang.dll> <exit.dll>
#
# The Windows game preview under Wine, through the console program: the host
# tintwright-preview.exe beside it loads our test core DLL, which uploads work
# RAM over CGRAM every frame, and draws the state with the edited ROM's word
# in colour 7's block; the fault builds crash, hang and exit inside the host,
# and each is told with its reason while no picture is written.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh" "$1"
exe="$(realpath "$2")"

work="$(mktemp -d /tmp/tintwright-preview.XXXXXX)"
trap 'rm -rf "$work"' EXIT
cp "$3" "$work/core.dll"
cp "$4" "$work/crash.dll"
cp "$5" "$work/hang.dll"
cp "$6" "$work/exit.dll"
cd "$work"

fail() {
  echo "preview test: $*" >&2
  exit 1
}

byte() { printf "\\x$(printf %02x "$1")"; }
# A 1 KiB ROM whose first 256 words all differ; the test core's CGRAM and
# work RAM start as them, and its state holds both.
{
  for i in $(seq 0 255); do w=$(((i * 0x123 + 0x421) & 0x7FFF)); byte $((w & 255)); byte $((w >> 8)); done
  head -c 512 /dev/zero | tr '\0' '\377'
} >game.sfc
{
  printf '#!s9xsnp:0011\nPPU:000576:'
  head -c 64 /dev/zero
  for i in $(seq 0 255); do w=$(((i * 0x123 + 0x421) & 0x7FFF)); byte $((w >> 8)); byte $((w & 255)); done
  printf 'RAM:131072:'
  head -c 512 game.sfc
  head -c 130560 /dev/zero
} >game.state
cp game.sfc edited.sfc
printf '\x1f\x00' | dd of=edited.sfc bs=1 seek=14 conv=notrunc status=none

preview() {
  timeout -k 5 60 "$WINE" "$exe" preview game.sfc game.state --edited edited.sfc --core "$1" --output frame.png \
    >out.txt 2>err.txt
}

preview core.dll || fail "the preview failed: $(cat err.txt)"
grep -q "rows 0–15 follow the ROM" out.txt || fail "no status line: $(cat out.txt)"
# Colour 7's block (16 wide, 14 high, doubled) shows the edited red; colour 6 keeps its word.
[ "$(convert frame.png -format '%[pixel:p{240,14}]' info:)" = "srgb(255,0,0)" ] ||
  fail "colour 7 is $(convert frame.png -format '%[pixel:p{240,14}]' info:), not red"
[ "$(convert frame.png -format '%[pixel:p{208,14}]' info:)" != "srgb(255,0,0)" ] || fail "colour 6 turned red too"
rm -f frame.png

# core | piece of standard error
rows=(
  "crash.dll|The game preview stopped: tintwright-preview crashed (exception 0xC0000005)"
  "hang.dll|The game preview stopped: the core did not answer within 2 seconds"
  "exit.dll|The game preview stopped: tintwright-preview exited with status 3"
  "game.sfc|cannot load the core game.sfc: it is not a Windows library (DLL)"
)
for row in "${rows[@]}"; do
  IFS='|' read -r core message <<<"$row"
  status=0
  preview "$core" || status=$?
  [ "$status" -eq 2 ] || fail "$core: exit $status, not 2"
  grep -qF -- "$message" err.txt || fail "$core: standard error lacks '$message': $(cat err.txt)"
  [ ! -e frame.png ] || fail "$core: a picture was written"
done
cmp -s <(head -c 14 game.sfc) <(head -c 14 edited.sfc) || fail "the edited ROM changed"
echo "preview test: the frame and ${#rows[@]} faults passed"
