#!/usr/bin/env bash
# Installs every tool and library the project builds and tests with, from Debian's packages.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config            # host build
  googletest libgtest-dev                     # unit tests
  libmspack-dev zlib1g-dev                    # host cabinet reader, builder's compressor
  g++-mingw-w64-i686 binutils-mingw-w64-i686  # the Windows build (the product, 32-bit)
  g++-mingw-w64-x86-64                        # its 64-bit twin, for machines without 32-bit support
  wine wine32:i386 wine64 xvfb xauth x11-utils  # running and driving the Windows build
  gcab cabextract osslsigncode openssl        # independent cabinet writer/reader, signing
  imagemagick                                 # screenshots of the Xvfb screen
  nsis time python3                           # the benchmarks: the NSIS peer, peak memory, payloads
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
