#!/usr/bin/env bash
# The Wine fixture's set-up: an X server of its own (Xvfb on a free display) and the Wine
# prefix, made when missing. stop.sh ends exactly what this started.
set -euo pipefail
: "${ZX_WINE_DIR:?}"
mkdir -p "$ZX_WINE_DIR"
here=$(dirname "${BASH_SOURCE[0]}")
bash "$here/stop.sh" >/dev/null 2>&1 || true   # leftovers of an interrupted run
source "$here/env.sh"

# Xvfb picks a free display itself and writes its number once it accepts clients.
rm -f "$ZX_WINE_DIR/display" "$ZX_WINE_DIR/xvfb.pid" "$ZX_WINE_DIR/displayfd"
setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
  3>"$ZX_WINE_DIR/displayfd" </dev/null >"$ZX_WINE_DIR/xvfb.log" 2>&1 &
echo $! >"$ZX_WINE_DIR/xvfb.pid"
for _ in $(seq 100); do
  [ -s "$ZX_WINE_DIR/displayfd" ] && break
  kill -0 "$(cat "$ZX_WINE_DIR/xvfb.pid")" 2>/dev/null || { cat "$ZX_WINE_DIR/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
number=$(tr -dc 0-9 <"$ZX_WINE_DIR/displayfd")
[ -n "$number" ] || { echo "start.sh: Xvfb gave no display" >&2; exit 1; }
echo ":$number" >"$ZX_WINE_DIR/display"
export DISPLAY=":$number"
xdpyinfo >/dev/null
echo "start.sh: Xvfb on $DISPLAY (pid $(cat "$ZX_WINE_DIR/xvfb.pid"))"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "start.sh: making the $ZX_ARCH prefix $WINEPREFIX"
  WINEARCH=$ZX_ARCH "$ZX_WINE" wineboot -i </dev/null >"$ZX_WINE_DIR/wineboot.log" 2>&1
fi
if [ ! -f "$WINEPREFIX/zx-settings.reg" ]; then
  # A crash ends the program instead of waiting in Wine's crash dialog. Without a window
  # manager, windows are best left unmanaged: a managed window that closes waits two seconds
  # for a window manager to withdraw it, at every message box.
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' >"$ZX_WINE_DIR/settings.reg"
  "$ZX_WINE" reg import "$(printf 'Z:%s' "${ZX_WINE_DIR//\//\\}")\\settings.reg" \
    </dev/null >>"$ZX_WINE_DIR/wineboot.log" 2>&1
  "$ZX_WINESERVER" -w
  cp "$ZX_WINE_DIR/settings.reg" "$WINEPREFIX/zx-settings.reg"
fi
echo "start.sh: prefix $WINEPREFIX"
