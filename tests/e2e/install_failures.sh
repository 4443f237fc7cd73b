#!/usr/bin/env bash
# Bad input during a silent installation under Wine: a damaged [Files] entry, a damaged or cut
# per-file cabinet (stopping or going on), a folder that cannot be created. Each shows its box,
# answered by the driver, ends with its exit code, leaves no work folder, and never costs an
# existing file that was to be replaced.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
zx_require_setup
cd "$ZX_OUT_DIR" || exit 1
export TZ=UTC LC_ALL=C

folder="$WINEPREFIX/drive_c/Fail Test"
win_folder='C:\Fail Test'
english=$ZX_LIB_DIR/../../tools/resources/languages/English.lng

# One cabinet per file: a.txt (large and random, so that a damage late in it comes after the
# decoder has begun writing) and b.txt.
mkdir -p one two
head -c 200000 /dev/urandom >one/a.txt
printf 'b\r\n' >two/b.txt
zx_cab a.cab one
zx_cab b.cab two
cp a.cab damaged.cab
# The signature of the last MSZIP block, well inside the file's data.
signature=$(grep -obUaP 'CK' damaged.cab | tail -1 | cut -d: -f1)
printf 'XX' | dd of=damaged.cab bs=1 seek="$signature" conv=notrunc status=none
head -c $(($(zx_size a.cab) / 2)) a.cab >cut.cab

# make_setup FIRST_ENTRY FIRST_CABINET: a.txt's entry and cabinet as given, then b.txt's.
make_setup() {
  rm -rf config && mkdir config
  {
    printf '[Setup]\r\nAppName=Fail Test\r\nAppVersion=1.0\r\nSilentInstall=1\r\nUninstall=1\r\n'
    printf 'InstallationPath=%s\r\nFilesCount=2\r\n[Files]\r\n0=%s\r\n' "$win_folder" "$1"
    printf '1=<InstallDir>\\b.txt?%s?Overwrite?Yes\r\n' "$(zx_size b.cab)"
  } >config/setup.ini
  cp "$english" config/English.lng
  zx_bmp config/zxwizard.bmp 500 314
  zx_bmp config/zxheader.bmp 498 55
  zx_cab config.cab config
  cat "$2" b.cab >files.bin
  zx_package setup.exe --layout trailer --cab config.cab --files files.bin
}

escape() { sed 's/\\/\\\\/g; s/"/\\"/g'; }
corrupted_box='box 1 caption="Error" text="The setup file is corrupted." icon=error buttons="OK" default="OK" owner=none'
cabinet_box="box 1 caption=\"Setup\" text=\"Error creating file:\\r\\n$(printf '%s' "$win_folder\\a.txt" | escape)\\r\\n\\r\\nAccess is denied.\\r\\n\\r\\nWould you like to continue?\" icon=error buttons=\"&Yes|&No\" default=\"&Yes\" owner=none"
folder_box="box 1 caption=\"Setup\" text=\"Error creating directory:\\r\\n$(printf '%s' "$win_folder\\blocker" | escape)\\r\\n\\r\\nAccess is denied.\\r\\n\\r\\nInstallation cannot continue. Log on as administrator or contact your system administrator.\" icon=error buttons=\"OK\" default=\"OK\" owner=none"
size=$(zx_size a.cab)

#   name ; a.txt's entry ; its cabinet ; answer ; exit code ; box ; b.txt installed
cases=(
  "three fields;<InstallDir>\\a.txt?$size?Overwrite;a.cab;;4;$corrupted_box;no"
  "size not a number;<InstallDir>\\a.txt?${size}x?Overwrite?Yes;a.cab;;4;$corrupted_box;no"
  "damaged cabinet, stop;<InstallDir>\\a.txt?$size?Overwrite?Yes;damaged.cab;No;4;$cabinet_box;no"
  "damaged cabinet, go on;<InstallDir>\\a.txt?$size?Overwrite?Yes;damaged.cab;Yes;6;$cabinet_box;yes"
  "cabinet cut by the end of the package;<InstallDir>\\a.txt?$size?Overwrite?Yes;cut.cab;No;4;$cabinet_box;no"
  "a folder in the way of a file;<InstallDir>\\blocker\\a.txt?$size?Overwrite?Yes;a.cab;;4;$folder_box;no"
)
for row in "${cases[@]}"; do
  IFS=';' read -r name entry cabinet answer code box installed <<<"$row"
  zx_case "$name"
  zx_clear_temp
  rm -rf "$folder" && mkdir -p "$folder"
  printf 'old a.txt\r\n' >"$folder/a.txt"
  printf 'not a folder\r\n' >"$folder/blocker"
  make_setup "$entry" "$cabinet"
  options=()
  [ -z "$answer" ] || options=(--answer "$answer")
  zx_run run.log "${options[@]}" -- setup.exe
  zx_expect_eq "exit code" "$code" "$(zx_exit run.log)"
  zx_expect_eq "box" "$box" "$(zx_boxes run.log)"
  zx_expect_no_workdir
  zx_expect_eq "the existing a.txt" "old a.txt" "$(tr -d '\r' <"$folder/a.txt")"
  zx_expect_eq "b.txt installed" "$installed" "$([ -f "$folder/b.txt" ] && echo yes || echo no)"
  leftovers=$(cd "$folder" && ls | grep -v -x -e a.txt -e b.txt -e blocker -e Uninstall.ini)
  zx_expect_eq "files left beside them" "" "$leftovers"
done

zx_finish
