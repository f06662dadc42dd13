#!/usr/bin/env bash
# wine_prefix.sh setup|stop <prefix>: makes a fresh Wine prefix, or ends its
# wineserver and everything still running in it.
set -euo pipefail
action="$1"
source "$(dirname "$0")/wine_env.sh" "$2"

case "$action" in
  setup)
    [ -x "$WINE" ] || { echo "$WINE is missing: run scripts/install-deps" >&2; exit 1; }
    # A server left from an earlier run may still be writing into the prefix.
    "$WINESERVER" -k 2>/dev/null || true
    timeout 20 "$WINESERVER" -w 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    timeout 80 "$WINE" wineboot -i >/dev/null 2>&1
    # Without a window manager on the test X server, a managed window waits
    # two seconds for one at every DestroyWindow.
    timeout 30 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    timeout 30 "$WINESERVER" -w
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null || true
    timeout 20 "$WINESERVER" -w 2>/dev/null || true
    ;;
  *)
    echo "usage: wine_prefix.sh setup|stop <prefix>" >&2
    exit 2
    ;;
esac
