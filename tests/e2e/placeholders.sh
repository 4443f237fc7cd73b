#!/usr/bin/env bash
# The placeholders of the Windows build under Wine hold what the system itself reports: the
# shell folders and product folders as the registry's Shell Folders keys record them, the
# Windows, temporary and profile folders as the environment gives them, the date as the
# command interpreter prints it and the language as the locale settings name it, for three
# locales.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
probe=$ZX_WINDOWS_BUILD_DIR/zxplaceholders.exe
[ -f "$probe" ] || { echo "missing $probe" >&2; exit 1; }
cd "$ZX_OUT_DIR" || exit 1
cp "$probe" probe.exe

user_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
common_folders='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'

# Wine as the probe runs it (zx_reg_value runs it so too); the locale cases put LC_ALL in front.
ZX_WINE_RUN=("$ZX_WINE")

env_value() { "${ZX_WINE_RUN[@]}" cmd /c "echo %$1%" | tr -d '\r'; }
# probe_value NAME: the probe's value of placeholder <NAME>, from values.txt.
probe_value() { grep -a "^<$1>=" values.txt | head -1 | cut -d= -f2- | tr -d '\r'; }

# The system reports the same text; paths are compared without regard to case, as Windows does.
expect_same() {
  local name=$1 expected=$2 actual
  actual=$(probe_value "$name")
  [ -n "$expected" ] || { zx_fail "<$name>: the system reports nothing to compare with"; return; }
  [ "${actual,,}" == "${expected,,}" ] || zx_fail "<$name>: the system reports '$expected', the setup computes '$actual'"
}

zx_case "folders"
"$ZX_WINE" probe.exe >values.txt || zx_fail "the probe failed"
rows=(
  "ProgramFiles|HKLM\\Software\\Microsoft\\Windows\\CurrentVersion|ProgramFilesDir"
  "CommonFiles|HKLM\\Software\\Microsoft\\Windows\\CurrentVersion|CommonFilesDir"
  "FontsDir|$user_folders|Fonts"
  "MyDocuments|$user_folders|Personal"
  "SentTo|$user_folders|SendTo"
  "Favorites|$user_folders|Favorites"
  "CommonFavorites|$common_folders|Common Favorites"
  "Templates|$user_folders|Templates"
  "AppData|$user_folders|AppData"
  "Desktop|$user_folders|Desktop"
  "StartMenu|$user_folders|Start Menu"
  "ProgramsMenu|$user_folders|Programs"
  "StartUp|$user_folders|StartUp"
  "CommonDesktop|$common_folders|Common Desktop"
  "CommonStartMenu|$common_folders|Common Start Menu"
  "CommonProgramsMenu|$common_folders|Common Programs"
  "CommonStartUp|$common_folders|Common StartUp"
  "LocalAppData|$user_folders|Local AppData"
  "CommonAppData|$common_folders|Common AppData"
  "CommonMyDocuments|$common_folders|Common Documents"
  "CommonTemplates|$common_folders|Common Templates"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name key value <<<"$row"
  expect_same "$name" "$(zx_reg_value "$key" "$value")"
done
zx_expect_eq "<LocalSettings> (no such value in this system's registry)" "$(zx_reg_value "$user_folders" "Local Settings")" \
  "$(probe_value LocalSettings)"
expect_same QuickLaunch "$(zx_reg_value "$user_folders" AppData)\\Microsoft\\Internet Explorer\\Quick Launch"
expect_same ProgramGroup "$(zx_reg_value "$user_folders" Programs)"  # with an empty group field
expect_same WindowsDir "$(env_value windir)"
expect_same SystemDir "$(env_value windir)\\system32"
expect_same TempDir "$(env_value TEMP)"
expect_same SystemDrive "$(env_value SystemDrive)"
expect_same UserProfile "$(env_value USERPROFILE)"
expect_same AllUserProfile "$(env_value PUBLIC)"
expect_same CurrentDir "$(zx_winpath "$ZX_OUT_DIR")"
expect_same SetupExe "$(zx_winpath "$ZX_OUT_DIR/probe.exe")"
temp=$(probe_value TempDir)
[[ $temp != *\\ ]] || zx_fail "<TempDir> ends with a backslash: $temp"
[[ $(probe_value SystemDrive) =~ ^[A-Za-z]:$ ]] || zx_fail "<SystemDrive> is not two characters: $(probe_value SystemDrive)"

# The language and the date follow the locale; C comes last, so the prefix is left as it was.
for locale in de_DE.UTF-8 ru_RU.UTF-8 C; do
  zx_case "language and date in $locale"
  ZX_WINE_RUN=(env "LC_ALL=$locale" "$ZX_WINE")
  "${ZX_WINE_RUN[@]}" probe.exe >values.txt || zx_fail "the probe failed"
  user_locale=$(zx_reg_value 'HKCU\Control Panel\International' Locale)
  zx_expect_eq "<SystemLngID>" "$((16#${user_locale:-0} & 0xFFFF))" "$(probe_value SystemLngID)"
  zx_expect_eq "<Date>" "$("${ZX_WINE_RUN[@]}" cmd /c 'date /t' | tr -d '\r' | awk '{ print $NF }')" "$(probe_value Date)"
done

zx_finish
