#!/usr/bin/env bash
# A package made by mkpackage installs like a package of the same files made with gcab: one
# project, packed once by the builder and once by hand with gcab's per-file cabinets, each
# installed silently into the same folder. Both installations must leave the same tree (paths,
# bytes, times, Windows attributes), the same Uninstall.ini and the same installed-programs
# entry; the builder's installation must also match the project's sources.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
# gcab stores times as UTC clock times, which the setup takes for local ones; the builder
# stores local times. In UTC the two agree.
export TZ=UTC LC_ALL=C
zx_require_setup
# The host build that holds the tests' scratch folders (wine-tests/NAME) holds the builder.
ZX_MKPACKAGE=${ZX_MKPACKAGE:-$(realpath -m "$ZX_OUT_DIR/../../mkpackage")}
[ -f "$ZX_MKPACKAGE" ] || { echo "missing $ZX_MKPACKAGE" >&2; exit 1; }
english=$ZX_LIB_DIR/../../tools/resources/languages/English.lng
cd "$ZX_OUT_DIR" || exit 1

app="Builder parity"
folder="$WINEPREFIX/drive_c/$app"
win_folder="C:\\$app"
entry_key="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$app"

# --- the project ---------------------------------------------------------------------------
# [Files] rows: target below the installation folder|source in the project|exist mode|removal
rows=(
  "bin\\tools\\deep.txt|payload\\deep.txt|Overwrite|Yes"
  "empty.dat|payload\\empty.dat|Overwrite|Yes"
  "random.bin|payload\\random.bin|Overwrite|Yes"
  "readme.txt|readme.txt|Overwrite|Yes"
  "locked.txt|payload\\locked.txt|Overwrite|Yes"
  "settings.cfg|payload\\settings.cfg|Skip|No"
)
read_only=payload/locked.txt
mkdir -p project/payload
printf 'two levels deep\r\n' >project/payload/deep.txt
: >project/payload/empty.dat
head -c 100000 /dev/urandom >project/payload/random.bin  # several 32 KB MSZIP blocks
seq -f 'line %g of the readme' 1 400 | sed 's/$/\r/' >project/readme.txt
printf 'read-only\r\n' >project/payload/locked.txt
printf 'kept=1\r\n' >project/payload/settings.cfg
cp "$english" project/English.lng
zx_bmp project/zxwizard.bmp 500 314
zx_bmp project/zxheader.bmp 498 55

sources=() files_size=0
for i in "${!rows[@]}"; do
  IFS='|' read -r _ source _ _ <<<"${rows[i]}"
  sources+=("${source//\\//}")
  # Even seconds, hours apart: a cabinet keeps two-second steps.
  touch -d "@$((1718452800 + i * 3600))" "project/${sources[i]}"
  files_size=$((files_size + $(zx_size "project/${sources[i]}")))
done
chmod 444 "project/$read_only"

# script [FIELD...]: the setup script, with FIELDs (the packed sizes) in place of the sources
# and FilesCount and FilesSize as the builder sets them; without FIELDs, the project's script.
script() {
  local fields=("$@") i target source mode removal
  printf '[Setup]\r\nAppName=%s\r\nAppVersion=2.1\r\nSilentInstall=1\r\n' "$app"
  printf 'InstallationPath=%s\r\nUninstall=1\r\nShowAddRemove=1\r\n' "$win_folder"
  [ ${#fields[@]} -eq 0 ] || printf 'FilesCount=%s\r\nFilesSize=%s\r\n' "${#rows[@]}" "$files_size"
  printf '[Files]\r\n'
  for i in "${!rows[@]}"; do
    IFS='|' read -r target source mode removal <<<"${rows[i]}"
    printf '%s=<InstallDir>\\%s?%s?%s?%s\r\n' "$i" "$target" "${fields[i]:-$source}" "$mode" "$removal"
  done
}
script >project/setup.ini

# --- package A: the builder ----------------------------------------------------------------
"$ZX_MKPACKAGE" project -o builder.exe --stub "$ZX_SETUP" >build.log 2>&1
status=$?
sed 's/^/  | /' build.log
[ "$status" -eq 0 ] || { zx_fail "mkpackage exit status $status"; zx_finish; }

# --- package B: gcab -----------------------------------------------------------------------
mkdir -p cabs config && : >files.bin
sizes=()
for i in "${!sources[@]}"; do
  rm -rf one && mkdir one && cp -p "project/${sources[i]}" one/
  zx_cab "cabs/$i.cab" one
  sizes+=("$(zx_size "cabs/$i.cab")")
done
# gcab stores the archive bit alone: the read-only bit goes into the attributes of the cabinet's
# one CFFILE (header 36 bytes, CFFOLDER 8, attributes at 14 in CFFILE), which no checksum covers.
for i in "${!sources[@]}"; do
  [ "${sources[i]}" != "$read_only" ] || printf '\x21' | dd of="cabs/$i.cab" bs=1 seek=58 conv=notrunc status=none
  cat "cabs/$i.cab" >>files.bin
done
script "${sizes[@]}" >config/setup.ini
cp project/English.lng project/zxwizard.bmp project/zxheader.bmp config/
zx_cab config.cab config
zx_package gcab.exe --cab config.cab --files files.bin

# --- the installations ---------------------------------------------------------------------
# snapshot NAME: installs NAME.exe into an empty folder; NAME.tree gets each path with its
# md5, time and Windows attributes, NAME.ini the log, NAME.entry the installed-programs values.
snapshot() {
  local name=$1
  rm -rf "$folder"
  "$ZX_WINE" reg delete "$entry_key" /f >/dev/null 2>&1
  zx_clear_temp
  zx_run "$name.log" -- "$name.exe"
  zx_expect_clean "$name.log"
  (cd "$folder" 2>/dev/null && find . -mindepth 1 -type d | sed 's|^\./||' | sort) >"$name.folders"
  {
    # attrib lists every file below the folder: "A    R       C:\...\file".
    "$ZX_WINE" cmd /c attrib /s "$win_folder\\*" </dev/null 2>/dev/null | tr -d '\r' |
      while IFS= read -r line; do
        local path=${line:13} attributes=${line:0:13} time
        path=${path#"$win_folder\\"}
        path=${path//\\//}
        time=$(stat -c %Y "$folder/$path")
        [ "$path" != Uninstall.ini ] || time=now  # written at the installation
        printf '%s %s %s %s\n' "$path" "$(md5sum <"$folder/$path" | cut -d' ' -f1)" "$time" "${attributes// /}"
      done
  } | sort >"$name.tree"
  tr -d '\r' <"$folder/Uninstall.ini" >"$name.ini" 2>/dev/null
  local value
  for value in DisplayName InstallLocation EstimatedSize UninstallString; do
    echo "$value=$(zx_reg_value "$entry_key" "$value")"
  done >"$name.entry"
}

# expect_same WHAT FILE_A FILE_B: the two captures agree, else their differences.
expect_same() {
  diff -u "$2" "$3" >diff.txt || zx_fail "$1 differ (- builder, + gcab):"$'\n'"$(cat diff.txt)"
}

zx_case "the builder's package installs the project's files"
snapshot builder
expected=$(for i in "${!rows[@]}"; do
  IFS='|' read -r target _ _ _ <<<"${rows[i]}"
  attributes=A
  [ "${sources[i]}" != "$read_only" ] || attributes=AR
  printf '%s %s %s %s\n' "${target//\\//}" "$(md5sum <"project/${sources[i]}" | cut -d' ' -f1)" \
    "$(stat -c %Y "project/${sources[i]}")" "$attributes"
done
printf 'Uninstall.ini %s now A\n' "$(md5sum <"$folder/Uninstall.ini" | cut -d' ' -f1)")
zx_expect_eq "installed files (path md5 time attributes)" "$(sort <<<"$expected")" "$(cat builder.tree)"
zx_expect_eq "folders" "$(printf 'bin\nbin/tools')" "$(cat builder.folders)"
grep -qxF "EstimatedSize=$(printf '0x%x' $((files_size / 1024)))" builder.entry ||
  zx_fail "EstimatedSize is not FilesSize / 1,024: $(cat builder.entry)"
grep -qF 'settings.cfg' builder.ini && zx_fail "settings.cfg (RemoveOnUninstall No) is in the log"
grep -qF "=$win_folder\\bin\\tools\\deep.txt" builder.ini || zx_fail "the log lacks deep.txt: $(cat builder.ini)"

zx_case "the gcab package installs the same"
snapshot gcab
expect_same "installed files (path md5 time attributes)" builder.tree gcab.tree
expect_same "folders" builder.folders gcab.folders
expect_same "Uninstall.ini" builder.ini gcab.ini
expect_same "installed-programs values" builder.entry gcab.entry

zx_finish
