#!/usr/bin/env bash
# The package builder's cabinets read by the system's extractor: mkpackage packs a project of
# awkward files (empty, a few bytes, many MSZIP blocks, exactly two blocks, incompressible,
# read-only, 300 small ones); the package is cut apart by its layout, and every cabinet in it
# is extracted under Wine the way the setup extracts (ExtractCabinet over cabinet.dll's FDI).
# Each file must land with its source's bytes, time (to the two seconds a cabinet keeps) and
# read-only bit; the configuration cabinet must hold the built-in languages byte for byte and
# agree with cabextract. A package of only the built-in languages and pictures must start.
# (cabextract -t on every kind of cabinet the builder writes is the host tests' part.)
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
# A zone away from UTC, so that a time stored as UTC instead of local time shows; without
# summer time, as Windows converts every date with the bias in force now.
export TZ=EST5
zx_require_setup
# The host build that holds the tests' scratch folders (wine-tests/NAME) holds the builder.
ZX_MKPACKAGE=${ZX_MKPACKAGE:-$(realpath -m "$ZX_OUT_DIR/../../mkpackage")}
ZX_EXTRACT=$ZX_WINDOWS_BUILD_DIR/zxextract.exe
LANGUAGES=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools/resources/languages" && pwd)
for tool in "$ZX_MKPACKAGE" "$ZX_EXTRACT"; do
  [ -f "$tool" ] || { echo "missing $tool" >&2; exit 1; }
done
cd "$ZX_OUT_DIR" || exit 1

# --- the project ---------------------------------------------------------------------------
zx_case "the project"
mkdir -p project/data project/small
: >project/empty.dat
printf 'hi\r\n' >project/tiny.txt
seq -f 'line %g of a text that compresses well, as program files often do' 1 8000 >project/data/text.txt
head -c 65536 project/data/text.txt >project/data/two-blocks.txt
head -c 150000 /dev/urandom >project/data/random.bin
printf 'read-only\r\n' >project/readonly.txt
# Small files of 16 to about 1,500 bytes, each beginning with its own number.
awk '{ text = text $0 "\r\n" } END {
  for (i = 0; i < 300; ++i) {
    file = sprintf("project/small/f%03d.txt", i)
    printf "small file %03d\r\n%s", i, substr(text, 1, i * 7 % 1500) >file
    close(file)
  } }' <(head -c 1600 project/data/text.txt)
sources=(empty.dat tiny.txt data/text.txt data/two-blocks.txt data/random.bin readonly.txt)
for i in $(seq -w 0 299); do sources+=("small/f$i.txt"); done
# Times a day and a second apart: odd seconds as well as even ones.
script=$'[Setup]\r\nAppName=Builder cabinets\r\nSilentInstall=1\r\n\r\n[Files]\r\n'
for i in "${!sources[@]}"; do
  touch -d "@$((1262347200 + i * 86400 + i % 60))" "project/${sources[i]}"
  script+="$i=<InstallDir>\\sub\\$(basename "${sources[i]}")?${sources[i]//\//\\}?Overwrite?Yes"$'\r\n'
done
chmod 444 project/readonly.txt
printf '%s' "$script" >project/setup.ini
echo "${#sources[@]} files, $(du -sb project | cut -f1) bytes"

"$ZX_MKPACKAGE" project -o setup.exe --stub "$ZX_SETUP" >build.log 2>&1
status=$?
sed 's/^/  | /' build.log
zx_expect_eq "mkpackage exit status" 0 "$status"
[ "$status" -eq 0 ] || zx_finish

# --- the package cut apart by its layout ---------------------------------------------------
zx_case "the package's layout"
mkdir cabs
size=$(zx_size setup.exe)
offset=$((10#$(tail -c 10 setup.exe)))
length=$((10#$(dd if=setup.exe bs=1 skip="$offset" count=10 status=none)))
cut_out() {  # FILE POSITION LENGTH
  dd if=setup.exe of="$1" bs=64K iflag=skip_bytes,count_bytes skip="$2" count="$3" status=none
}
cut_out cabs/config.cab $((offset + 10)) "$length"
cabextract -q -d config-cabextract cabs/config.cab || zx_fail "cabextract cannot read the configuration cabinet"
# The packed sizes: the second fields of the package's [Files] entries, keys 0, 1, ... in order.
mapfile -t packed < <(tr -d '\r' <config-cabextract/setup.ini |
  awk -F'?' '/^\[/ { files = ($0 == "[Files]") } files && /^[0-9]+=/ { print $2 }')
zx_expect_eq "cabinets in [Files]" "${#sources[@]}" "${#packed[@]}"
position=$((offset + 10 + length))
for i in "${!packed[@]}"; do
  cut_out "cabs/$i.cab" "$position" "${packed[i]}"
  position=$((position + packed[i]))
done
zx_expect_eq "the trailer follows the last cabinet" $((size - 10)) "$position"

# --- every cabinet extracted under Wine ----------------------------------------------------
zx_case "extraction through FDI"
here=$(zx_winpath "$PWD")
{
  printf '%s\\cabs\\config.cab|%s\\fdi\\config\r\n' "$here" "$here"
  for i in "${!packed[@]}"; do printf '%s\\cabs\\%s.cab|%s\\fdi\\%s\r\n' "$here" "$i" "$here" "$i"; done
} >list.txt
started=$SECONDS
"$ZX_WINE" "$ZX_EXTRACT" "$here\\list.txt" </dev/null >extract.log 2>extract.stderr
status=$?
echo "  ($((SECONDS - started)) s, status $status, $(grep -c '^ok ' extract.log) cabinets extracted)"
zx_expect_eq "zxextract exit status" 0 "$status"
grep '^failed ' extract.log | while read -r line; do echo "FAIL $line"; done
zx_expect_eq "cabinets extracted" $((${#packed[@]} + 1)) "$(grep -c '^ok ' extract.log)"
declare -A attributes
while read -r _ path value; do attributes[$path]=$value; done < <(grep '^file ' extract.log | tr -d '\r')

zx_case "the files: bytes, time, read-only bit"
# Each cabinet's folder holds its one file and nothing else.
expected=() extracted=()
for i in "${!sources[@]}"; do
  expected+=("$i/${sources[i]##*/}")
  extracted+=("fdi/$i/${sources[i]##*/}")
done
zx_expect_eq "the extracted files" "$(printf '%s\n' "${expected[@]}" | sort)" \
  "$(cd fdi && find . -mindepth 2 -not -path './config/*' | sed 's|^\./||' | sort)"
# Bytes and times of all files at once; the cabinet keeps even seconds.
mapfile -t source_sums < <(cd project && md5sum -- "${sources[@]}" | cut -d' ' -f1)
mapfile -t source_times < <(cd project && stat -c %Y -- "${sources[@]}")
declare -A landed_sums landed_times
while read -r sum path; do landed_sums[$path]=$sum; done < <(md5sum -- "${extracted[@]}" 2>/dev/null)
while read -r stamp path; do landed_times[$path]=$stamp; done < <(stat -c '%Y %n' -- "${extracted[@]}" 2>/dev/null)
for i in "${!sources[@]}"; do
  name=${sources[i]##*/}
  [ -f "${extracted[i]}" ] || continue  # reported above
  [ "${source_sums[i]}" = "${landed_sums[${extracted[i]}]}" ] || zx_fail "$name differs from its source (cabinet $i)"
  zx_expect_eq "$name: time" $((source_times[i] - source_times[i] % 2)) "${landed_times[${extracted[i]}]}"
  attribute=${attributes["$here\\fdi\\$i\\$name"]:-}
  if [ -z "$attribute" ]; then
    zx_fail "$name: zxextract did not list it"
  else
    read_only=0
    [ "$name" != readonly.txt ] || read_only=1
    zx_expect_eq "$name: read-only bit" "$read_only" $((16#$attribute & 1))
  fi
done

zx_case "the configuration cabinet"
zx_expect_eq "files" "$(ls config-cabextract | tr '\n' ' ')" "$(ls fdi/config | tr '\n' ' ')"
for file in config-cabextract/*; do
  cmp -s "$file" "fdi/config/$(basename "$file")" || zx_fail "$(basename "$file"): FDI and cabextract disagree"
done
zx_expect_eq "built-in languages" "$(ls "$LANGUAGES" | tr '\n' ' ')" "$(cd fdi/config && ls -- *.lng | tr '\n' ' ')"
for file in "$LANGUAGES"/*.lng; do
  cmp -s "$file" "fdi/config/$(basename "$file")" || zx_fail "$(basename "$file") is not the built-in file"
done
zx_expect_eq "picture sizes" "471054 82334" "$(zx_size fdi/config/zxwizard.bmp) $(zx_size fdi/config/zxheader.bmp)"

# --- the setup starts on what the builder supplies -----------------------------------------
# Without the languages or a picture it would end with the corrupted-package box.
zx_case "built-in languages and pictures: the setup starts"
mkdir defaults
printf '[Setup]\r\nAppName=Defaults\r\nSilentInstall=1\r\n' >defaults/setup.ini
"$ZX_MKPACKAGE" defaults -o defaults.exe --stub "$ZX_SETUP" >defaults.log 2>&1 ||
  zx_fail "mkpackage failed: $(cat defaults.log)"
zx_clear_temp
zx_run run.log -- defaults.exe
zx_expect_clean run.log

zx_finish
