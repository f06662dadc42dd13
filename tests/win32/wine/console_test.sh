#!/usr/bin/env bash
# console_test.sh <prefix> <tintwright-palette.exe>
#
# The Windows console program under Wine, the way a script runs it: each row
# of the table below gives the exit code and a piece of standard error to
# expect. After every row the input files must hold their bytes, and a row
# that is refused must leave no new file behind. Windows names one file
# however its letters are cased, so IN.SMC is in.smc.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh" "$1"
exe="$(realpath "$2")"

work="$(mktemp -d /tmp/tintwright-console.XXXXXX)"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "console test: $*" >&2
  exit 1
}

head -c 65536 /dev/urandom >in.smc
# A row of 16 colours at $1000, found by find and offered for the book.
printf '\x11\x01\x22\x02\x33\x03\x44\x04\x55\x05\x66\x06\x77\x07\x08\x18\x19\x19\x2a\x2a\x3b\x3b\x4c\x4c\x5d\x5d\x6e\x6e\x7f\x6f\x10\x70' >row.bin
dd if=row.bin of=in.smc bs=1 seek=4096 conv=notrunc status=none
printf '\xff\xfe[\0P\0]\0\r\0\n\0' >utf16.ini
printf 'JASC-PAL\r\n0100\r\n2\r\n0 0 0\r\n8 8 8\r\n' >colours.pal
cp in.smc edited.smc
printf '\x01' | dd of=edited.smc bs=1 seek=512 conv=notrunc status=none
printf 'JASC-PAL\r\n0100\r\n1\r\n0 256 0\r\n' >bad.pal
head -c 512 /dev/zero >zeros.bin
printf 'PATCHEOF\x10\x00\x00' >grow.ips
inputs=(in.smc colours.pal edited.smc bad.pal zeros.bin grow.ips row.bin utf16.ini)
sha256sum "${inputs[@]}" >inputs.sha256

# exit code | arguments | a piece of standard error ("" for none)
rows=(
  "2|export IN.SMC 100 --format bin in.smc|is the same file as the ROM IN.SMC"
  "2|export in.smc 100 --format bin .\\IN.SMC|is the same file as the ROM in.smc"
  "2|import in.smc 0 colours.pal --output In.Smc|is the same file as the ROM in.smc"
  "2|import in.smc 0 colours.pal --output COLOURS.PAL|is the same file as the palette file colours.pal"
  "2|patch in.smc edited.smc IN.SMC|is the same file as the source in.smc"
  "2|patch in.smc edited.smc --format ips EDITED.SMC|is the same file as the edited file edited.smc"
  "2|apply in.smc colours.pal --output IN.smc|is the same file as the source in.smc"
  "2|find in.smc colours.pal --add-to-book IN.SMC|is the same file as the ROM in.smc"
  "2|find in.smc bad.pal|JASC-PAL: line 4: colour 1 of 1"
  "1|find in.smc zeros.bin|one colour only"
  "2|find in.smc row.bin --add-to-book utf16.ini|utf16.ini: the file is UTF-16 text, and its entries are written in 8-bit text; save it as UTF-8 or ANSI"
  "2|find in.smc colours.pal --mismatches 17|must be 0 to 8, not 17"
  "2|export in.smc 0 --format jasc -|would be standard output"
  "0|apply in.smc grow.ips --output grown.smc|the patch changes the size of in.smc from 65536 to 1048576 bytes"
  "0|patch in.smc edited.smc out.ips|"
  "0|apply IN.SMC out.ips --output patched.smc|"
)

for row in "${rows[@]}"; do
  IFS='|' read -r expected arguments message <<<"$row"
  before=$(ls)
  read -r -a words <<<"$arguments"
  status=0
  timeout -k 5 60 "$WINE" "$exe" "${words[@]}" >out.txt 2>err.txt || status=$?
  [ "$status" -eq "$expected" ] || fail "$arguments: exit $status, not $expected: $(cat err.txt)"
  if [ -n "$message" ]; then
    grep -qF -- "$message" err.txt || fail "$arguments: standard error lacks '$message': $(cat err.txt)"
  fi
  sha256sum --quiet -c inputs.sha256 || fail "$arguments: an input file changed"
  rm -f out.txt err.txt
  if [ "$expected" -eq 2 ] && [ "$(ls)" != "$before" ]; then fail "$arguments: left a file behind"; fi
done
cmp -s patched.smc edited.smc || fail "the patch applied under Wine does not give the edited ROM"
echo "console test: ${#rows[@]} rows passed"
