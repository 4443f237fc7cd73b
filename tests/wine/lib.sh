# Shared helpers of the end-to-end tests: pictures, cabinets, packages, runs under the driver,
# and assertions that say what differed. Sourced by the Wine test scripts; sources env.sh.
#
# From CTest (tests.cmake): ZX_WINE_DIR, ZX_WINDOWS_BUILD_DIR (setup.exe, zxdriver.exe) and
# ZX_OUT_DIR (this test's scratch folder). ZX_SETUP may name another stub to test.
#
# A test calls its checks, which count failures and go on, and ends with `zx_finish`.

set -uo pipefail
ZX_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$ZX_LIB_DIR/env.sh" || exit 1
: "${ZX_WINDOWS_BUILD_DIR:?ZX_WINDOWS_BUILD_DIR must name the Windows build}"
: "${ZX_OUT_DIR:?ZX_OUT_DIR must name the scratch folder of the test}"
ZX_SETUP=${ZX_SETUP:-$ZX_WINDOWS_BUILD_DIR/setup.exe}
ZX_DRIVER=$ZX_WINDOWS_BUILD_DIR/zxdriver.exe
ZX_FIXED_OFFSET=250368
ZX_CORRUPTED_BOX='box 1 caption="Error" text="The setup file is corrupted." icon=error buttons="OK" default="OK" owner=none'
ZX_FAILURES=0
ZX_CASE=""

if [ -z "${DISPLAY:-}" ]; then
  echo "no X display: the Wine fixture (tests/wine/start.sh) has not run" >&2
  exit 1
fi
[ -f "$ZX_DRIVER" ] || { echo "missing $ZX_DRIVER" >&2; exit 1; }
rm -rf "$ZX_OUT_DIR"
mkdir -p "$ZX_OUT_DIR"

# --- reporting ----------------------------------------------------------------------------

# zx_case NAME: names the case that the following checks belong to.
zx_case() {
  ZX_CASE=$1
  echo "--- $ZX_CASE"
}

zx_fail() {
  echo "FAIL [$ZX_CASE] $*"
  ZX_FAILURES=$((ZX_FAILURES + 1))
}

# zx_finish: the test's end; its exit status says whether every check held. Waits for the
# prefix's wineserver to end, so that nothing of the test's Wine outlives it.
zx_finish() {
  "$ZX_WINESERVER" -w
  if [ "$ZX_FAILURES" -eq 0 ]; then
    echo "all checks passed"
    exit 0
  fi
  echo "$ZX_FAILURES check(s) failed"
  exit 1
}

# zx_expect_eq WHAT EXPECTED ACTUAL
zx_expect_eq() {
  [ "$2" == "$3" ] || zx_fail "$1: expected '$2', got '$3'"
}

# zx_require_setup: the stub under test must exist; prints its size.
zx_require_setup() {
  [ -f "$ZX_SETUP" ] || { echo "missing $ZX_SETUP" >&2; exit 1; }
  echo "stub: $ZX_SETUP, $(zx_size "$ZX_SETUP") bytes"
}

# --- files --------------------------------------------------------------------------------

# zx_digits N: N as a ten-character zero-padded decimal field.
zx_digits() { printf '%010d' "$1"; }

zx_size() { stat -c %s "$1"; }

# The Windows path of a host path, through Wine's Z: drive.
zx_winpath() {
  local path=$1
  path=${path//\//\\}
  printf 'Z:%s' "$path"
}

zx_le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)); }
zx_le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }

# zx_bmp FILE WIDTH HEIGHT: a 24-bit Windows bitmap (BITMAPINFOHEADER, bottom-up, grey).
zx_bmp() {
  local file=$1 width=$2 height=$3
  local row=$(((width * 3 + 3) / 4 * 4))
  local data=$((row * height))
  {
    printf %b "BM$(zx_le32 $((54 + data)))$(zx_le32 0)$(zx_le32 54)"
    printf %b "$(zx_le32 40)$(zx_le32 "$width")$(zx_le32 "$height")$(zx_le16 1)$(zx_le16 24)"
    printf %b "$(zx_le32 0)$(zx_le32 "$data")$(zx_le32 2835)$(zx_le32 2835)$(zx_le32 0)$(zx_le32 0)"
    head -c "$data" /dev/zero | tr '\0' '\200'
  } >"$file"
}

# zx_config DIR [SILENT]: the files of a valid configuration cabinet in DIR; SILENT (default 1)
# is the script's SilentInstall.
zx_config() {
  local dir=$1 silent=${2:-1}
  mkdir -p "$dir"
  printf '[Setup]\r\nAppName=Start-up test\r\nAppVersion=1.0\r\nSilentInstall=%s\r\n' "$silent" >"$dir/setup.ini"
  printf '[Language]\r\nName=English\r\n' >"$dir/English.lng"
  zx_bmp "$dir/zxwizard.bmp" 500 314
  zx_bmp "$dir/zxheader.bmp" 498 55
}

# zx_cab OUT DIR: an MSZIP cabinet of the files in DIR, stored under their bare names.
zx_cab() {
  local out dir=$2
  out=$(realpath -m "$1")
  rm -f "$out"
  (cd "$dir" && gcab -c -z "$out" *) || { echo "gcab failed for $dir" >&2; return 1; }
}

# zx_package OUT --cab FILE [--layout fixed|trailer] [--stub FILE] [--field TEXT]
#            [--trailer TEXT|none] [--files FILE]
# A setup: the stub, then the ten-character length field, the cabinet, the per-file cabinets
# (FILE, back to back) and the trailer.
#   fixed:   the stub padded with zeros to the fixed offset (it must not be larger)
#   trailer: the stub as it is; the package starts at its end
# --field and --trailer replace the fields' ten characters (default: the cabinet's length,
# and the package's offset).
zx_package() {
  local out=$1
  shift
  local layout=fixed stub=$ZX_SETUP cab="" field="" trailer="" files=""
  while [ $# -gt 0 ]; do
    case $1 in
      --layout) layout=$2 ;;
      --stub) stub=$2 ;;
      --cab) cab=$2 ;;
      --field) field=$2 ;;
      --trailer) trailer=$2 ;;
      --files) files=$2 ;;
      *) echo "zx_package: unknown option $1" >&2; return 1 ;;
    esac
    shift 2
  done
  local size offset
  size=$(zx_size "$stub")
  cp "$stub" "$out"
  if [ "$layout" = fixed ]; then
    if [ "$size" -gt "$ZX_FIXED_OFFSET" ]; then
      echo "zx_package: the stub ($size bytes) is larger than the fixed offset" >&2
      return 1
    fi
    truncate -s "$ZX_FIXED_OFFSET" "$out"
    offset=$ZX_FIXED_OFFSET
  else
    offset=$size
  fi
  [ -n "$field" ] || field=$(zx_digits "$(zx_size "$cab")")
  [ -n "$trailer" ] || trailer=$(zx_digits "$offset")
  printf '%s' "$field" >>"$out"
  cat "$cab" >>"$out"
  [ -z "$files" ] || cat "$files" >>"$out"
  [ "$trailer" = none ] || printf '%s' "$trailer" >>"$out"
}

# zx_clear_temp: removes work folders left in the prefix by an earlier, failed run, so that
# each case sees only its own.
zx_clear_temp() {
  rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/ZXTMP*
}

# zx_leftovers [FOLDER...]: the work folders in the prefix's temp folders and in FOLDERs.
zx_leftovers() {
  find "$WINEPREFIX"/drive_c/users/*/Temp "$@" -maxdepth 1 -name 'ZXTMP*' 2>/dev/null
}

# --- running ------------------------------------------------------------------------------

# zx_run LOG [driver options] -- PROGRAM [ARGS]: runs PROGRAM (a host path) under the driver and
# keeps the driver's lines in LOG (shown on the test's output as well); the driver's exit
# status is left in ZX_DRIVER_STATUS.
zx_run() {
  local log=$1
  shift
  local options=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    options+=("$1")
    shift
  done
  shift
  local program
  program=$(zx_winpath "$(realpath "$1")")
  shift
  local started=$SECONDS
  (cd "$ZX_OUT_DIR" && "$ZX_WINE" "$ZX_DRIVER" --timeout 60 "${options[@]}" -- "$program" "$@") \
    >"$log" 2>"$log.stderr" </dev/null
  ZX_DRIVER_STATUS=$?
  sed 's/^/  | /' "$log"
  echo "  ($((SECONDS - started)) s, driver status $ZX_DRIVER_STATUS)"
  # A timeout (4) or a script that did not fit its boxes (5) shows in the lines the checks read.
  case $ZX_DRIVER_STATUS in
    0 | 4 | 5) ;;
    *) zx_fail "the driver failed (status $ZX_DRIVER_STATUS): $(cat "$log.stderr")" ;;
  esac
}

# zx_exit LOG: the program's exit code as the driver reported it.
zx_exit() { sed -n 's/^exit=//p' "$1"; }

# zx_boxes LOG: the driver's box lines.
zx_boxes() { grep '^box ' "$1"; }

# --- checkers -----------------------------------------------------------------------------

# zx_expect_clean LOG [FOLDER...]: the run ended with exit code 0, showed no box and left no
# work folder.
zx_expect_clean() {
  local log=$1
  shift
  zx_expect_eq "exit code" 0 "$(zx_exit "$log")"
  local boxes
  boxes=$(zx_boxes "$log")
  [ -z "$boxes" ] || zx_fail "unexpected box(es): $boxes"
  zx_expect_no_workdir "$@"
}

# zx_expect_corrupted LOG [FOLDER...]: exactly one box, the corrupted-package message with the
# caption "Error", the error icon, OK and no owner; exit code 1; no work folder left.
zx_expect_corrupted() {
  local log=$1
  shift
  local boxes
  boxes=$(zx_boxes "$log")
  zx_expect_eq "box" "$ZX_CORRUPTED_BOX" "$boxes"
  zx_expect_eq "exit code" 1 "$(zx_exit "$log")"
  zx_expect_no_workdir "$@"
}

zx_expect_no_workdir() {
  local left
  left=$(zx_leftovers "$@")
  [ -z "$left" ] || zx_fail "work folder(s) left: $left"
}
