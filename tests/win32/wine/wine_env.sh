# Sourced by the Wine test scripts: the 64-bit loader straight from its
# directory (the wine wrapper on the PATH wants the 32-bit one), quiet, and
# without the Mono and Gecko installers a fresh prefix would offer.
WINE_DIR=/usr/lib/wine
WINE="$WINE_DIR/wine64"
WINESERVER="$WINE_DIR/wineserver"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$1"
# Wine names Unix files and reads Unix arguments in the Unix locale's character
# set: under the plain C locale no name beyond ASCII can be made at all. UTF-8
# holds every name the tests use; the Windows side stays a Western system.
export LC_ALL=C.UTF-8
# The 24-bit screen GetPixel needs to give back exact colours.
XVFB_SCREEN="-screen 0 1024x768x24"
