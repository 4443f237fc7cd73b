#!/usr/bin/env bash
# The Wine fixture's clean-up: ends the wineserver of this run's prefix and the Xvfb that
# start.sh started, nothing else.
set -uo pipefail
: "${ZX_WINE_DIR:?}"
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
if [ -d "$WINEPREFIX" ]; then
  "$ZX_WINESERVER" -k 2>/dev/null
  "$ZX_WINESERVER" -w 2>/dev/null
fi
pidfile="$ZX_WINE_DIR/xvfb.pid"
if [ -s "$pidfile" ]; then
  pid=$(cat "$pidfile")
  # Only the process start.sh recorded, and only while it still is an Xvfb.
  if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q '^Xvfb '; then
    kill "$pid"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    echo "stop.sh: Xvfb $pid ended"
  fi
fi
rm -f "$pidfile" "$ZX_WINE_DIR/display" "$ZX_WINE_DIR/displayfd"
exit 0
