#!/usr/bin/env bash
# The driver itself, on boxes whose every property is known: caption, text (with quotes and a
# line break), each icon kind and none, the buttons in order, the default button, the owner,
# scripted and default answers (the program's exit code spells the answers it got), the
# listing with --list-temp under --env, a scripted answer that names no button, and a hang.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ZX_OUT_DIR" || exit 1
"$ZX_MINGW-gcc" -Wall -Wextra -O2 -o boxes.exe "$ZX_LIB_DIR/boxes.c" || exit 1

zx_case "five boxes, three answered by the script, two by their default button"
mkdir -p listed/ZXTMP123/inner && printf 'abc' >listed/ZXTMP123/inner/three.txt && touch listed/other.txt
zx_run run.log --answer OK --answer Cancel --answer No \
  --env "TMP=$(zx_winpath "$ZX_OUT_DIR/listed")" --list-temp '%TMP%\ZXTMP*' -- boxes.exe
listed='Z:'${ZX_OUT_DIR//\//\\}'\listed'
expected=$(cat <<END
box 1 caption="Error" text="The first box." icon=error buttons="OK" default="OK" owner=none
temp 1 dir $listed\\ZXTMP123
temp 1 dir $listed\\ZXTMP123\\inner
temp 1 file $listed\\ZXTMP123\\inner\\three.txt 3
click 1 "OK"
box 2 caption="Warning" text="Second \\"quoted\\"\\nand on two lines." icon=warning buttons="OK|Cancel" default="OK" owner=none
END
)
zx_expect_eq "first box and its listing" "$expected" "$(head -6 run.log)"
for line in \
  'click 2 "Cancel"' \
  'box 3 caption="Question" text="Third?" icon=question buttons="&Yes|&No" default="&Yes" owner=none' \
  'click 3 "&No"' \
  'box 4 caption="Information" text="Fourth, owned." icon=information buttons="&Yes|&No|Cancel" default="&No" owner=yes' \
  'click 4 "&No"' \
  'box 5 caption="Plain" text="Fifth, no icon." icon=none buttons="&Retry|Cancel" default="&Retry" owner=none' \
  'click 5 "&Retry"' \
  "temp end file $listed\\ZXTMP123\\inner\\three.txt 3" \
  'exit=12774'; do
  grep -qxF -- "$line" run.log || zx_fail "missing line: $line"
done
zx_expect_eq "last line" "exit=12774" "$(tail -1 run.log)"
zx_expect_eq "driver status" 0 "$ZX_DRIVER_STATUS"

zx_case "a scripted answer that names no button"
zx_run run.log --answer Maybe -- boxes.exe
grep -qxF 'error box 1 has no button "Maybe"; clicking its default' run.log || zx_fail "no error line for the missing button"
zx_expect_eq "driver status" 5 "$ZX_DRIVER_STATUS"

zx_case "a program that hangs"
zx_run run.log --timeout 3 -- boxes.exe hang
grep -qxF 'timeout=3' run.log || zx_fail "no timeout line"
zx_expect_eq "last line" "exit=259" "$(tail -1 run.log)"
zx_expect_eq "driver status" 4 "$ZX_DRIVER_STATUS"

zx_finish
