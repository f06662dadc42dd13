#!/usr/bin/env bash
# Checks what `make package` wrote, without installing anything into the
# system: the Debian package's files, control fields, desktop entry and
# icons, and lintian's verdict on it; its programs, extracted into a
# temporary folder, the editor started on a virtual X server with a ROM and a
# save path on the command line; and the Windows zip's files.
# Usage: check_packages.sh DIST_DIR BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../qt/editor_session.sh
source "$here/../qt/editor_session.sh"
run_on_own_display "$@"
begin_session "package check"

dist=$(cd "$1" && pwd) || fail "no package folder $1"
build=$(cd "$2" && pwd) || fail "no build folder $2"
samples="$here/../../samples"
theme_icon_sizes=(16 32 48 64 128 256)
programs=(tintwright tintwright-palette tintwright-preview)

# The one file in the package folder matching a pattern.
only_package() {
  # shellcheck disable=SC2206 # the pattern is meant to be expanded
  local found=("$dist"/$1)
  if [ ${#found[@]} -ne 1 ] || [ ! -f "${found[0]}" ]; then
    fail "expected one $1 in $dist, found: ${found[*]}"
  fi
  echo "${found[0]}"
}

check_deb_files() {
  local listing path size program
  local paths=(usr/share/applications/tintwright.desktop usr/share/doc/tintwright/copyright
               usr/share/doc/tintwright/changelog.gz)
  for program in "${programs[@]}"; do paths+=("usr/bin/$program" "usr/share/man/man1/$program.1.gz"); done
  for size in "${theme_icon_sizes[@]}"; do paths+=("usr/share/icons/hicolor/${size}x${size}/apps/tintwright.png"); done
  listing=$(dpkg-deb --contents "$deb") || fail "dpkg-deb cannot read $deb"
  for path in "${paths[@]}"; do
    grep -q " \./$path\$" <<<"$listing" || fail "the package has no /$path"
  done
  for program in "${programs[@]}"; do
    grep -q "^-rwxr-xr-x .* \./usr/bin/$program\$" <<<"$listing" || fail "/usr/bin/$program is not executable"
  done
}

# No error and no warning; informational tags are shown but allowed.
check_lintian() {
  local verdict
  # CI runs as root, which lintian mentions on every run.
  verdict=$(lintian --display-info --fail-on error,warning "$deb" 2>&1 | { grep -v "with root privileges" || true; }) ||
    fail "lintian rejects $(basename "$deb"):"$'\n'"$verdict"
  [ -z "$verdict" ] || echo "lintian's notes on $(basename "$deb"):"$'\n'"$verdict"
}

# Dependencies come from the binary, so the Qt and X11 libraries must be named.
check_deb_control() {
  local field library
  [ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "section is not graphics"
  for field in Maintainer Description; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "no $field field"
  done
  for library in libqt6widgets6 libx11-6 libc6; do
    dpkg-deb -f "$deb" Depends | grep -q "\b$library\b" || fail "Depends does not name $library"
  done
  # So the game preview works after apt install.
  [ "$(dpkg-deb -f "$deb" Recommends)" = libretro-bsnes-mercury-balanced ] ||
    fail "Recommends does not name libretro-bsnes-mercury-balanced"
}

# The entry must validate and point at things the package installs.
check_desktop_entry() {
  local entry="$root/usr/share/applications/tintwright.desktop" program icon size
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the desktop entry"
  grep -qx 'MimeType=.*application/vnd\.nintendo\.snes\.rom;.*' "$entry" || fail "no SNES ROM MIME type"
  grep -qx 'Categories=.*Graphics;.*' "$entry" || fail "not in the Graphics category"
  grep -qx 'Exec=[^ ]* %f' "$entry" || fail "Exec does not take the file"
  program=$(sed -n 's/^Exec=\([^ ]*\) .*/\1/p' "$entry")
  [ -x "$root/usr/bin/$program" ] || fail "Exec names $program, which the package does not install"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  for size in "${theme_icon_sizes[@]}"; do
    [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] ||
      fail "Icon names $icon, which has no ${size}x${size} picture"
  done
}

# 16 and 32 are the pictures the Windows icon holds; larger sizes repeat the
# 32 pixel picture's pixels (ImageMagick's -sample is nearest neighbour too).
check_icons() {
  local icons="$root/usr/share/icons/hicolor" size png differing index_and_size
  "$build/buildtools/tintwright_make_resources" "$work/resources" >/dev/null || fail "no Windows icon to compare"
  for size in "${theme_icon_sizes[@]}"; do
    png="$icons/${size}x${size}/apps/tintwright.png"
    [ "$(identify -format '%m %wx%h' "$png")" = "PNG ${size}x${size}" ] || fail "$png is not a ${size}px PNG"
  done
  for index_and_size in 0:16 1:32; do
    png="$icons/${index_and_size#*:}x${index_and_size#*:}/apps/tintwright.png"
    differing=$(compare -metric AE "$work/resources/tintwright.ico[${index_and_size%:*}]" "$png" null: 2>&1)
    [ "$differing" = 0 ] || fail "$png differs from the program's icon in $differing pixels"
  done
  for size in 48 64 128 256; do
    convert "$icons/32x32/apps/tintwright.png" -sample "${size}x${size}" "$work/sampled.png"
    differing=$(compare -metric AE "$work/sampled.png" "$icons/${size}x${size}/apps/tintwright.png" null: 2>&1)
    [ "$differing" = 0 ] || fail "the ${size}px icon is not the 32px one with repeated pixels ($differing differ)"
  done
}

# The installed program starts straight into the main window when both paths
# are given, writes the first save copy and leaves through File > Exit.
smoke_test_extracted_program() {
  local program="$root/usr/bin/tintwright"
  [ "$("$program" --version)" = "Tintwright $version" ] || fail "--version does not say $version"
  [ "$("$root/usr/bin/tintwright-palette" --version)" = "tintwright-palette $version" ] ||
    fail "tintwright-palette --version does not say $version"
  rom="$work/game.smc"
  save="$work/edited.smc"
  cp "$samples/sample.smc" "$rom"
  mkdir -p "$work/home"
  cd "$work" || fail "no work folder"
  env -u QT_QPA_PLATFORM HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    TINTWRIGHT_REPORT_FIRST_PAINT=1 "$program" "$rom" "$save" >"$work/app.log" 2>&1 &
  app_pid=$!
  window=$(wait_for_window 20 "Tintwright v$version - Snes Rom Pallette Editor")
  [ -n "$window" ] || fail "the main window did not appear"
  timeout 20 sh -c "until grep -q 'first paint' '$work/app.log'; do sleep 0.1; done" ||
    fail "the strip was never painted"
  cmp -s "$rom" "$save" || fail "no first save copy at $save equal to the ROM"
  exit_editor
}

# The PE header's machine field: 014c for 32-bit x86, 8664 for x86-64.
pe_machine() {
  local header
  header=$(od -An -tu4 -j 60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j $((header + 4)) -N2 "$1" | tr -d ' '
}

check_windows_zip() {
  local zip folder="tintwright-$version-windows" listed expected name
  zip=$(only_package "tintwright-*-windows.zip") || exit 1
  [ "$(basename "$zip")" = "$folder.zip" ] || fail "$zip is not named for version $version"
  listed=$(cmake -E tar tf "$zip" | grep -v '/$' | sort) || fail "cannot list $zip"
  expected=$(printf "$folder/%s\n" 32-bit/tintwright.exe 64-bit/tintwright.exe 32-bit/tintwright-palette.exe \
                                   64-bit/tintwright-palette.exe 32-bit/tintwright-preview.exe \
                                   64-bit/tintwright-preview.exe README.md samples/sample.smc samples/tintwright.ini |
               sort)
  [ "$listed" = "$expected" ] || fail "the zip holds"$'\n'"$listed"$'\n'"instead of"$'\n'"$expected"
  mkdir -p "$work/zip"
  (cd "$work/zip" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
  for name in tintwright.exe tintwright-palette.exe tintwright-preview.exe; do
    [ "$(pe_machine "$work/zip/$folder/32-bit/$name")" = 014c ] || fail "32-bit/$name is no 32-bit program"
    [ "$(pe_machine "$work/zip/$folder/64-bit/$name")" = 8664 ] || fail "64-bit/$name is no 64-bit program"
  done
  for name in sample.smc tintwright.ini; do
    cmp -s "$samples/$name" "$work/zip/$folder/samples/$name" || fail "samples/$name differs from the sample"
  done
}

deb=$(only_package "tintwright_*.deb") || exit 1
version=$(dpkg-deb -f "$deb" Version)
root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "cannot extract $deb"

check_deb_files
check_lintian
check_deb_control
check_desktop_entry
check_icons
check_windows_zip
smoke_test_extracted_program
echo "package check passed: $(basename "$deb"), tintwright-$version-windows.zip"
