#!/usr/bin/env bash
# System libraries are taken from the system folder only: a cabinet.dll of our own beside
# setup.exe, with Wine told to prefer native DLLs for it, is not loaded, and setup still
# extracts with the system's. As the control that the planted DLL would be noticed, a small
# program that loads "cabinet.dll" by its bare name from the same folder does leave its mark.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
zx_require_setup
planted=$(cd "$(dirname "${BASH_SOURCE[0]}")/planted" && pwd)
cd "$ZX_OUT_DIR" || exit 1

mkdir app
"$ZX_MINGW-gcc" -Wall -Wextra -O2 -shared -o app/cabinet.dll "$planted/cabinet.c" || exit 1
"$ZX_MINGW-gcc" -Wall -Wextra -O2 -o app/loader.exe "$planted/loader.c" || exit 1
zx_config config
zx_cab config.cab config
zx_package app/setup.exe --layout fixed --cab config.cab
export WINEDLLOVERRIDES="cabinet=n,b;$WINEDLLOVERRIDES"

zx_case "setup beside a planted cabinet.dll"
zx_clear_temp
zx_run run.log -- app/setup.exe
zx_expect_clean run.log
[ ! -e app/planted-mark.txt ] || zx_fail "setup loaded the planted DLL: $(cat app/planted-mark.txt)"

zx_case "control: a program loading cabinet.dll by its bare name"
zx_run run.log -- app/loader.exe
zx_expect_eq "loader exit code" 0 "$(zx_exit run.log)"
grep -q 'loader.exe' app/planted-mark.txt 2>/dev/null || zx_fail "the planted DLL left no mark for the loader"

zx_finish
