#!/usr/bin/env bash
# Builds everything: the stub build/win/setup.exe (32-bit Windows), the host build with the
# unit tests and tools (build/host), and the Windows programs the Wine tests run.
#
# Wine runs 32-bit programs only where the machine can execute 32-bit code; where it cannot
# (a kernel booted without 32-bit emulation), the Wine tests run the 64-bit twin of the same
# sources, built in build/win64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

configure_windows() {  # build dir, architecture
  [ -f "$1/build.ninja" ] || cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake \
    -DMINGW_ARCH="$2" -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build "$1"
}

configure_windows build/win i686
windows_tests=$root/build/win
if ! bash tests/wine/can-run-32bit.sh; then
  configure_windows build/win64 x86_64
  windows_tests=$root/build/win64
fi

cmake -S . -B build/host -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWINDOWS_BUILD_DIR="$windows_tests" >/dev/null
cmake --build build/host
echo "build: stub $(stat -c %s build/win/setup.exe) bytes; Wine tests run $(basename "$windows_tests")"
