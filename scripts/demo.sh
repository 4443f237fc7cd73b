#!/usr/bin/env bash
# The main job on the built-in sample: installs what the build needs, builds the stub, the
# package builder and the sample product Wren Notes, packs the sample's package, installs it
# silently under Wine in a prefix of its own (build/demo) and prints what was installed:
# files, shortcuts, registry entries and the uninstall log.
#
#   bash scripts/demo.sh
#
# Where the machine cannot run 32-bit programs, the 64-bit twin of the stub stands in for it
# (see README.md).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

step() { printf '\n== %s\n' "$*"; }

step "Installing what the build needs"
log=$(mktemp)
bash scripts/install-deps.sh >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
rm -f "$log"

step "Building the stub, the builder and the sample"
mkdir -p build/demo
bash scripts/build.sh >build/demo/build.log 2>&1 || { tail -40 build/demo/build.log >&2; exit 1; }
if bash tests/wine/can-run-32bit.sh; then windows=build/win; else windows=build/win64; fi
echo "stub $windows/setup.exe ($(stat -c %s "$windows/setup.exe") bytes)"

step "Packing the sample's package"
package=build/demo/wren-notes-setup.exe
build/host/mkpackage "$windows/examples/sample/project" -o "$package" --stub "$windows/setup.exe" --strict
echo "package $package ($(stat -c %s "$package") bytes)"

# Wine keeps everything of the demo under build/demo/wine: the prefix, and the home folder
# whose Desktop and Documents the prefix links to.
export ZX_WINE_DIR=$root/build/demo/wine
bash tests/wine/start.sh >build/demo/wine.log 2>&1 || { cat build/demo/wine.log >&2; exit 1; }
trap 'bash tests/wine/stop.sh >/dev/null 2>&1 || true' EXIT
source tests/wine/env.sh

step "Installing silently: wren-notes-setup.exe /s"
status=0
"$ZX_WINE" "$package" /s || status=$?
"$ZX_WINESERVER" -w
case $status in
  0) meaning="setup completed" ;;
  1) meaning="the setup file is corrupted" ;;
  2) meaning="a requirement of the script is not met" ;;
  3) meaning="cancelled before the installation began" ;;
  4) meaning="the installation failed" ;;
  5) meaning="cancelled during the installation" ;;
  6) meaning="installed, but some items failed" ;;
  *) meaning="unexpected" ;;
esac
echo "exit code $status: $meaning"

# --- what was installed ---------------------------------------------------------------------
show_key() {  # KEY
  local listing
  if listing=$("$ZX_WINE" reg query "$1" 2>/dev/null | tr -d '\r' | sed '/^$/d'); then
    echo "$listing" | sed 's/^/  /'
  else
    echo "  $1: none"
  fi
}
unix_path() { { "$ZX_WINE" winepath -u "$1" 2>/dev/null || true; } | tr -d '\r'; }

uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Wren Notes'
folder=$(zx_reg_value "$uninstall_key" InstallLocation)
[ -n "$folder" ] || folder="$(zx_reg_value 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion' ProgramFilesDir)\\Wren Notes"
host_folder=$(unix_path "$folder")

step "Files in $folder"
if [ -d "$host_folder" ]; then
  (cd "$host_folder" && find . -type f -printf '  %P  %s bytes  %TY-%Tm-%Td %TH:%TM\n' | sort)
else
  echo "  none: the folder does not exist"
fi

step "Shortcuts"
found=0
for menu in "$(zx_reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)\\Wren Notes" \
  "$(zx_reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Desktop)"; do
  host_menu=$(unix_path "$menu")
  for link in "$host_menu"/*.lnk; do
    [ -f "$link" ] || continue
    echo "  $menu\\$(basename "$link")"
    found=1
  done
done
[ "$found" = 1 ] || echo "  none"

step "Registry"
for key in 'HKCU\Software\Wren Works\Wren Notes' 'HKCR\.wrn' 'HKCR\wrnfile\shell\open\command' "$uninstall_key"; do
  show_key "$key"
done

step "Uninstall log"
if [ -f "$host_folder/Uninstall.ini" ]; then
  tr -d '\r' <"$host_folder/Uninstall.ini" | sed 's/^/  /'
else
  echo "  none"
fi
