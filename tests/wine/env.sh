# Sourced by every Wine test: chooses the Wine loader and sets the environment of the run.
#
# Needs ZX_WINE_DIR, the folder of this run's Wine state (the build folder's "wine"): the prefix
# lives under it, and the fixture (start.sh) records its X display there. The user's own
# ~/.wine is never used.
#
# Sets: ZX_WINE (the loader), ZX_WINESERVER, ZX_ARCH (win32 or win64), ZX_MINGW (the compiler
# prefix whose programs this Wine runs, e.g. x86_64-w64-mingw32), WINEPREFIX, HOME, WINEDEBUG,
# WINEDLLOVERRIDES, DISPLAY (the fixture's X server; unset until the fixture has started it).

if [ -z "${ZX_WINE_DIR:-}" ]; then
  echo "env.sh: ZX_WINE_DIR is not set" >&2
  return 1 2>/dev/null || exit 1
fi

if bash "$(dirname "${BASH_SOURCE[0]}")/can-run-32bit.sh"; then
  ZX_ARCH=win32
  ZX_WINE=/usr/lib/wine/wine
  ZX_WINESERVER=/usr/lib/wine/wineserver32
  ZX_MINGW=i686-w64-mingw32
else
  ZX_ARCH=win64
  ZX_WINE=/usr/lib/wine/wine64
  ZX_WINESERVER=/usr/lib/wine/wineserver64
  ZX_MINGW=x86_64-w64-mingw32
fi
[ -x "$ZX_WINESERVER" ] || ZX_WINESERVER=/usr/lib/wine/wineserver

export WINEPREFIX="$ZX_WINE_DIR/$ZX_ARCH"
# A new prefix links its Desktop, Documents and the like to folders of the home folder: a home
# of its own keeps what setups install there inside the Wine state.
export HOME="$ZX_WINE_DIR/home"
mkdir -p "$HOME"
export WINESERVER="$ZX_WINESERVER"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Only the fixture's X server: never the display of the session the tests were started from.
if [ -s "$ZX_WINE_DIR/display" ]; then
  export DISPLAY
  DISPLAY=$(cat "$ZX_WINE_DIR/display")
else
  unset DISPLAY
fi
export ZX_ARCH ZX_WINE ZX_WINESERVER ZX_MINGW

# zx_reg_value KEY NAME: the data of a registry value as reg.exe lists it; "" when it is
# missing. Wine runs as ZX_WINE_RUN says (default: the loader alone), so that a caller can put
# an environment in front of it.
zx_reg_value() {
  local run=("${ZX_WINE_RUN[@]:-$ZX_WINE}")
  { "${run[@]}" reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
    awk -v name="$2" '{ line = $0; sub(/^ +/, "", line) }
      index(line, name " ") == 1 { rest = substr(line, length(name) + 1); sub(/^ +REG_[A-Z_]+ +/, "", rest); print rest }'
}
