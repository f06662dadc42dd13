#!/usr/bin/env bash
# run_under_wine.sh <prefix> <program.exe> [arguments]: runs a Windows console
# program under Wine on a private X server and returns its exit code.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh" "$1"
shift
exec timeout -k 5 140 xvfb-run -a -s "$XVFB_SCREEN" "$WINE" "$@"
