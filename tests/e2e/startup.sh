#!/usr/bin/env bash
# Start-up of setup.exe under Wine: the package is found at the fixed offset and through the
# trailer, its configuration lands in a ZXTMPnnn work folder that is gone at the end, and every
# kind of damaged package (one without a language file among them) or a work folder that
# cannot be made ends with the one corrupted-package box, exit code 1 and no work folder left.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
zx_require_setup
cd "$ZX_OUT_DIR" || exit 1

stub_size=$(zx_size "$ZX_SETUP")

# The configurations: valid (silent through the script, or not silent), and one damaged
# variant per missing or bad picture.
zx_config good
zx_cab good.cab good
zx_config asking 0
zx_cab asking.cab asking
cab_size=$(zx_size good.cab)
for variant in no-wizard no-header wizard-text header-text no-language; do
  cp -r good "$variant"
done
rm no-wizard/zxwizard.bmp no-header/zxheader.bmp no-language/*.lng
echo "not a bitmap" >wizard-text/zxwizard.bmp
echo "not a bitmap" >header-text/zxheader.bmp
for variant in no-wizard no-header wizard-text header-text no-language; do
  zx_cab "$variant.cab" "$variant"
done
echo "this is not a cabinet, just text that is long enough to be read as one" >text.cab
head -c $((cab_size / 2)) good.cab >truncated.cab
# A damaged stretch in the middle of the compressed data (CFDATA carries a checksum too).
cp good.cab damaged.cab
head -c 64 /dev/zero | tr '\0' '\377' | dd of=damaged.cab bs=1 seek=$((cab_size / 2)) conv=notrunc status=none
# A stub longer than the fixed offset whose ten bytes there are not a number: only the trailer
# can find its package.
cp "$ZX_SETUP" long-stub.exe
head -c 300000 /dev/zero | tr '\0' 'x' >>long-stub.exe

# --- packages that are found ---------------------------------------------------------------
# Each ends cleanly without a box. (The script that does not ask for a silent installation
# counts on "/s": once the wizard exists, it would open instead.)
#   name | arguments | how the setup file is made
found=(
  "fixed offset||zx_package setup.exe --layout fixed --cab good.cab"
  "fixed offset, no trailer at all||zx_package setup.exe --layout fixed --cab good.cab --trailer none"
  "trailer, file shorter than the fixed offset||zx_package setup.exe --layout trailer --cab good.cab && [ \$(zx_size setup.exe) -lt \$((ZX_FIXED_OFFSET + 10)) ]"
  "trailer, not a number at the fixed offset||zx_package setup.exe --layout trailer --stub long-stub.exe --cab good.cab"
  "silent through /s, not through the script|/s|zx_package setup.exe --layout fixed --cab asking.cab"
)
for row in "${found[@]}"; do
  IFS='|' read -r name args make <<<"$row"
  zx_case "$name"
  rm -f setup.exe
  zx_clear_temp
  eval "$make" || { zx_fail "could not make the package"; continue; }
  # shellcheck disable=SC2086
  zx_run run.log -- setup.exe $args
  zx_expect_clean run.log
done

# --- the configuration lands in the work folder --------------------------------------------
# Without the header picture start-up fails after the extraction, so the box shows the work
# folder with the extracted files; setup.cab is cut to exactly the cabinet's length, also when
# that length is a multiple of the 2,048-byte copy block.
cp -r no-header blocks
head -c 65536 /dev/urandom >noise
filler=1000
for _ in $(seq 20); do
  head -c $filler noise >blocks/filler.dat
  zx_cab blocks.cab blocks
  rest=$(($(zx_size blocks.cab) % 2048))
  [ "$rest" -eq 0 ] && break
  filler=$((filler + 2048 - rest))
done
for cab in no-header.cab blocks.cab; do
  config=${cab%.cab}
  zx_case "configuration in ZXTMPnnn ($cab, $(zx_size $cab) bytes)"
  zx_clear_temp
  zx_package setup.exe --layout trailer --cab "$cab"
  zx_run run.log --list-temp '%TEMP%\ZXTMP*' -- setup.exe
  zx_expect_corrupted run.log
  folders=$(sed -n 's/^temp 1 dir //p' run.log)
  [[ $folders =~ ^[A-Za-z]:\\.*\\ZXTMP[0-9]{3}$ ]] || zx_fail "expected one work folder ZXTMPnnn, saw: '$folders'"
  for file in "$config"/*; do
    name=$(basename "$file")
    grep -qxF "temp 1 file $folders\\$name $(zx_size "$file")" run.log ||
      zx_fail "$name ($(zx_size "$file") bytes) not in the work folder"
  done
  grep -qxF "temp 1 file $folders\\setup.cab $(zx_size "$cab")" run.log ||
    zx_fail "setup.cab is not the cabinet's $(zx_size "$cab") bytes: $(grep 'setup.cab' run.log)"
  ! grep -q '^temp end' run.log || zx_fail "the work folder outlived the process"
done

# --- damaged packages ----------------------------------------------------------------------
# Each shows exactly the corrupted-package box and ends with exit code 1.
# shellcheck disable=SC2034 # S and L are read by the table rows through eval
S=$stub_size L=$cab_size
bad=(
  "the stub alone|cp \"\$ZX_SETUP\" setup.exe"
  "short file, trailer not a number|zx_package setup.exe --layout trailer --cab good.cab --trailer ABCDEFGHIJ"
  "length field not a number, fixed offset|zx_package setup.exe --layout fixed --cab good.cab --field 00000x1234"
  "length field not a number, trailer|zx_package setup.exe --layout trailer --cab good.cab --field 0000abc123"
  "length field blank|zx_package setup.exe --layout trailer --cab good.cab --field '          '"
  "length field beyond 32 bits|zx_package setup.exe --layout trailer --cab good.cab --field 9999999999"
  "trailer not a number|zx_package setup.exe --layout trailer --cab good.cab --trailer 00001x2345"
  "trailer beyond 32 bits|zx_package setup.exe --layout trailer --cab good.cab --trailer 9999999999"
  "length field negative, fixed offset|zx_package setup.exe --layout fixed --cab good.cab --field -000000001"
  "length field negative, trailer|zx_package setup.exe --layout trailer --cab good.cab --field -000000100"
  "trailer negative|zx_package setup.exe --layout trailer --cab good.cab --trailer -000000010"
  "trailer past the end of the file|zx_package setup.exe --layout trailer --cab good.cab --trailer 0999999999"
  "trailer pointing at itself|zx_package setup.exe --layout trailer --cab good.cab --trailer \$(zx_digits \$((S + 10 + L)))"
  "cabinet running past the end (short read)|zx_package setup.exe --layout fixed --cab good.cab --field \$(zx_digits \$((L + 5000)))"
  "largest length (short read)|zx_package setup.exe --layout trailer --cab good.cab --field 2147483647"
  "configuration cabinet not a cabinet|zx_package setup.exe --layout fixed --cab text.cab"
  "configuration cabinet truncated|zx_package setup.exe --layout trailer --cab truncated.cab"
  "configuration cabinet with a corrupt data block|zx_package setup.exe --layout fixed --cab damaged.cab"
  "large picture missing|zx_package setup.exe --layout fixed --cab no-wizard.cab"
  "header picture missing|zx_package setup.exe --layout trailer --cab no-header.cab"
  "large picture not a bitmap|zx_package setup.exe --layout trailer --cab wizard-text.cab"
  "header picture not a bitmap|zx_package setup.exe --layout fixed --cab header-text.cab"
  "no language file|zx_package setup.exe --layout fixed --cab no-language.cab"
)
for row in "${bad[@]}"; do
  IFS='|' read -r name make <<<"$row"
  zx_case "$name"
  rm -f setup.exe
  zx_clear_temp
  eval "$make" || { zx_fail "could not make the package"; continue; }
  zx_run run.log -- setup.exe
  zx_expect_corrupted run.log
done

# --- the work folder cannot be made --------------------------------------------------------
# A valid package; the temporary folder is missing, or is a read-only file.
zx_package setup.exe --layout fixed --cab good.cab
touch temp-file && chmod 444 temp-file
for temp in "$ZX_OUT_DIR/no-such-folder" "$ZX_OUT_DIR/temp-file"; do
  zx_case "temporary folder $(basename "$temp")"
  zx_clear_temp
  zx_run run.log --env "TMP=$(zx_winpath "$temp")" --env "TEMP=$(zx_winpath "$temp")" -- setup.exe
  zx_expect_corrupted run.log "$temp"
done

# Every name the work folder can have is taken: start-up ends as corrupted and leaves the
# folders that were there, and their files, alone.
zx_case "every ZXTMPnnn name taken"
zx_clear_temp
mkdir taken
for n in $(seq -w 0 999); do
  mkdir "taken/ZXTMP$n" && echo "$n" >"taken/ZXTMP$n/keep.txt"
done
zx_run run.log --env "TMP=$(zx_winpath "$ZX_OUT_DIR/taken")" --env "TEMP=$(zx_winpath "$ZX_OUT_DIR/taken")" -- setup.exe
zx_expect_corrupted run.log
zx_expect_eq "folders and files left as they were" "1000 1000 1000" \
  "$(find taken -mindepth 1 -maxdepth 1 | wc -l) $(find taken -name keep.txt | wc -l) $(cat taken/*/keep.txt | sort -u | wc -l)"

zx_finish
