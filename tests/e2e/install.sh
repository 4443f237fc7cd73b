#!/usr/bin/env bash
# Silent installations of a real package under Wine: every packaged file lands byte for byte
# with its stored time, each exist mode decides over an existing file, the uninstall log is
# laid out exactly, the installed-programs entry holds every value, the commands run and are
# recorded; a second installation extends the log without repeating an item; and each kind of
# bad input ends with its box, its exit code and no work folder left.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
zx_require_setup
cd "$ZX_OUT_DIR" || exit 1
# gcab stores times as UTC clock times, which the setup takes for local ones; dates are read in
# the en-US format.
export TZ=UTC LC_ALL=C

app="Wren Test"
folder="$WINEPREFIX/drive_c/$app"
win_folder="C:\\$app"
entry_key="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$app"
english=$ZX_LIB_DIR/../../tools/resources/languages/English.lng
base_time=1718452800  # 15 June 2024 12:00 UTC, an even second

# --- the package --------------------------------------------------------------------------
# files: key|target below the installation folder|exist mode|removal ("" target: a blank key)
entries=(
  "0|wren.exe|Overwrite|Yes"
  "1||"
  "2|whole.bin|Overwrite|Yes"
  "3|docs\\en\\deep\\guide.txt|Overwrite|Yes"
  "4|over.txt|Overwrite|Yes"
  "5|skip.txt|Skip|Yes"
  "6|ask-yes.txt|Ask|Yes"
  "7|ask-no.txt|Ask|Yes"
  "8|newer-kept.txt|Overwrite only if newer|Yes"
  "9|newer-replaced.txt|Overwrite only if newer|Yes"
  "10|kept-on-uninstall.txt|Overwrite|No"
)
mkdir -p payload cabs
head -c 70000 /dev/urandom >payload/wren.exe
for name in guide.txt over.txt skip.txt ask-yes.txt ask-no.txt newer-kept.txt newer-replaced.txt kept-on-uninstall.txt; do
  printf 'new %s\r\n' "$name" >"payload/$name"
done
# whole.bin: random bytes of a length that makes its cabinet a multiple of 2,048 bytes.
head -c 65536 /dev/urandom >noise
length=3000
for _ in $(seq 30); do
  head -c $length noise >payload/whole.bin
  rm -rf one && mkdir one && cp payload/whole.bin one/
  zx_cab cabs/whole.cab one
  rest=$(($(zx_size cabs/whole.cab) % 2048))
  [ "$rest" -eq 0 ] && break
  length=$((length + 2048 - rest))
done

# make_package OUT SILENT [EXTRA_ENTRY]: the setup (SilentInstall=SILENT), with an extra file
# entry "key|target|mode|removal" when given.
make_package() {
  local out=$1 silent=$2 extra=${3:-} rows=("${entries[@]}") key target mode removal i=0
  [ -z "$extra" ] || rows+=("$extra")
  rm -rf config && mkdir config && : >files.bin
  {
    printf '[Setup]\r\nAppName=%s\r\nAppVersion=1.0\r\nCompanyName=Wren Co\r\nWebSite=https://wren.example\r\n' "$app"
    # Blanks around the folder and its trailing backslash, kept by the quotes.
    printf 'SupportLink=<WebSite>/help\r\nSilentInstall=%s\r\nInstallationPath=" %s\\ "\r\n' "$silent" "$win_folder"
    printf 'Uninstall=1\r\nShowAddRemove=1\r\nFilesSize=1048576\r\nMainExecutable=<InstallDir>\\wren.exe\r\n'
    printf 'BuildDate=6/15/2024 12:00:00\r\nFilesCount=%s\r\n[Files]\r\n' "${#rows[@]}"
  } >config/setup.ini
  for row in "${rows[@]}"; do
    IFS='|' read -r key target mode removal <<<"$row"
    [ -n "$target" ] || continue
    local name=${target##*\\}
    rm -rf one && mkdir one && cp "payload/$name" one/
    touch -d "@$((base_time + i * 3600))" "one/$name"
    i=$((i + 1))
    zx_cab "cabs/$name.cab" one
    cat "cabs/$name.cab" >>files.bin
    printf '%s=<InstallDir>\\%s?%s?%s?%s\r\n' "$key" "$target" "$(zx_size "cabs/$name.cab")" "$mode" "$removal" >>config/setup.ini
  done
  {
    printf '[Commands]\r\n'
    printf '0=<SystemDir>\\cmd.exe*?/c if exist "<InstallDir>\\Uninstall.ini" (echo late>"<InstallDir>\\mark.txt") else (echo early>"<InstallDir>\\mark.txt")*?Hide*?After Installation*?Yes\r\n'
    printf '1=<InstallDir>\\cleanup.exe*?/all*?Hide*?Before Uninstallation*?Yes\r\n'
  } >>config/setup.ini
  cp "$english" config/English.lng
  zx_bmp config/zxwizard.bmp 500 314
  zx_bmp config/zxheader.bmp 498 55
  zx_cab config.cab config
  zx_package "$out" --layout trailer --cab config.cab --files files.bin
}

# The existing files the exist modes decide over, each with its old text and time.
prepare_folder() {
  rm -rf "$folder"
  mkdir -p "$folder"
  local name
  for name in over.txt skip.txt ask-yes.txt ask-no.txt newer-kept.txt newer-replaced.txt; do
    printf 'old %s, longer than the new text\r\n' "$name" >"$folder/$name"
  done
  touch -d "2025-01-01 00:00:00" "$folder/newer-kept.txt"       # after the build date
  touch -d "2023-01-01 00:00:00" "$folder/newer-replaced.txt"   # before it
  chmod a-w "$folder/over.txt"
  "$ZX_WINE" reg delete "$entry_key" /f >/dev/null 2>&1
}

# expected_log [extended]: the log a first installation writes: the English uninstaller and
# updater texts expanded, the header, then the sections in the order of their first record;
# "extended": after a second installation that added extra\extra.txt.
expected_log() {
  local programs extra_file="" extra_folder=""
  if [ "${1:-}" = extended ]; then
    extra_file=$'\n'"7=$win_folder\\extra\\extra.txt"
    extra_folder=$'\n'"3=$win_folder\\extra"
  fi
  programs=$(zx_reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)
  section_of() { tr -d '\r' <"$english" | awk -v s="[$1]" '$0 == s { on = 1; next } /^\[/ { on = 0 } on && /^[0-9]+=/'; }
  {
    echo "[Messages]"
    section_of Uninstall | sed "s/<AppName>/$app/g; s/<AppVersion>/1.0/g"
    echo "[Updater]"
    section_of Updater
    cat <<LOG
[General]
AppName=$app
AppVersion=1.0
Admin=0
MainExecutable=$win_folder\\wren.exe
InstallDir=$win_folder
ProgramGroupDir=$programs
UninstallURL=
UninstallForce=0
UninstallRestart=0
[Files]
0=$win_folder\\Uninstall.ini
1=$win_folder\\wren.exe
2=$win_folder\\whole.bin
3=$win_folder\\docs\\en\\deep\\guide.txt
4=$win_folder\\over.txt
5=$win_folder\\ask-yes.txt
6=$win_folder\\newer-replaced.txt$extra_file
[ExecBeforeUninstall]
0=$win_folder\\cleanup.exe*?/all*?Hide*?Yes
[Folders]
0=$win_folder\\docs
1=$win_folder\\docs\\en
2=$win_folder\\docs\\en\\deep$extra_folder
[RegistryKeys]
0=HKEY_LOCAL_MACHINE*?SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$app
LOG
  }
}

# expect_installed LOG MARK: the files, times, exist-mode decisions, the command's mark, the
# installed-programs entry and the clean end of one installation.
expect_installed() {
  local log=$1 mark=$2 name
  zx_expect_eq "exit code" 0 "$(zx_exit "$log")"
  zx_expect_no_workdir
  for name in wren.exe whole.bin guide.txt over.txt ask-yes.txt newer-replaced.txt kept-on-uninstall.txt; do
    local landed=$folder/$name
    [ "$name" != guide.txt ] || landed=$folder/docs/en/deep/guide.txt
    cmp -s "payload/$name" "$landed" || zx_fail "$name: not the packaged file"
    zx_expect_eq "$name: time" "${stored_time[$name]}" "$(stat -c %Y "$landed" 2>/dev/null)"
  done
  for name in skip.txt ask-no.txt newer-kept.txt; do
    grep -q "^old $name" "$folder/$name" || zx_fail "$name: the existing file was replaced"
  done
  zx_expect_eq "the command's mark (it ran, was waited for, before the log came)" "$mark" "$(tr -d '\r\n ' <"$folder/mark.txt" 2>/dev/null)"
  local values=(
    "DisplayName|$app 1.0"
    "DisplayVersion|1.0"
    "DisplayIcon|$win_folder\\wren.exe"
    "InstallLocation|$win_folder"
    "EstimatedSize|0x400"
    "InstallDate|$(date +%Y%m%d)"
    "HelpLink|https://wren.example/help"
    "Publisher|Wren Co"
    "UninstallString|$win_folder\\Uninstall.exe"
    "URLInfoAbout|https://wren.example"
  )
  local row value expected
  for row in "${values[@]}"; do
    IFS='|' read -r value expected <<<"$row"
    zx_expect_eq "installed-programs value $value" "$expected" "$(zx_reg_value "$entry_key" "$value")"
  done
}

declare -A stored_time
i=0
for row in "${entries[@]}"; do
  IFS='|' read -r _ target _ _ <<<"$row"
  [ -n "$target" ] || continue
  stored_time[${target##*\\}]=$((base_time + i * 3600))
  i=$((i + 1))
done

# A box line as the driver reports it: backslashes and quotes of the text escaped.
ask_box() {
  local text
  text=$(printf 'File "%s\\%s" already exists.' "$win_folder" "$2" | sed 's/\\/\\\\/g; s/"/\\"/g')
  printf 'box %s caption="Setup" text="%s\\r\\n\\r\\nWould you like to overwrite it?" icon=question buttons="&Yes|&No" default="&Yes" owner=none' "$1" "$text"
}
ask_boxes=$(ask_box 1 ask-yes.txt; echo; ask_box 2 ask-no.txt)

for way in "/s" "SilentInstall=1"; do
  zx_case "first installation ($way)"
  zx_clear_temp
  prepare_folder
  if [ "$way" = "/s" ]; then
    make_package setup.exe 0
    zx_run run.log --answer Yes --answer No -- setup.exe /s
  else
    make_package setup.exe 1
    zx_run run.log --answer Yes --answer No -- setup.exe
  fi
  zx_expect_eq "whole.bin's cabinet is a multiple of 2,048 bytes" 0 $(($(zx_size cabs/whole.bin.cab) % 2048))
  zx_expect_eq "boxes" "$ask_boxes" "$(zx_boxes run.log)"
  expect_installed run.log early
  zx_expect_eq "Uninstall.ini" "$(expected_log)" "$(tr -d '\r' <"$folder/Uninstall.ini")"
done

zx_case "a second installation over the first"
printf 'new extra.txt\r\n' >payload/extra.txt
make_package setup.exe 1 "11|extra\\extra.txt|Overwrite|Yes"
stored_time[extra.txt]=$((base_time + 10 * 3600))
zx_clear_temp
zx_run run.log --answer Yes --answer No -- setup.exe
expect_installed run.log late
cmp -s payload/extra.txt "$folder/extra/extra.txt" || zx_fail "extra.txt: not the packaged file"
zx_expect_eq "boxes" "$ask_boxes" "$(zx_boxes run.log)"
zx_expect_eq "Uninstall.ini, extended" "$(expected_log extended)" "$(tr -d '\r' <"$folder/Uninstall.ini")"

zx_finish
