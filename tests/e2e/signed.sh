#!/usr/bin/env bash
# A finished setup signed afterwards (Authenticode, with osslsigncode) still finds its package.
# Signing appends a certificate table after the package, first padding the file with zeros to a
# multiple of 8 bytes, so that the trailer is no longer the last ten bytes of the file. Each
# signed setup verifies and ends cleanly.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
zx_require_setup
cd "$ZX_OUT_DIR" || exit 1

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Start-up test publisher" >openssl.log 2>&1 || { cat openssl.log; exit 1; }
zx_config config
zx_cab config.cab config
package_size=$(($(zx_size "$ZX_SETUP") + 10 + $(zx_size config.cab) + 10))

#   name | layout | file length modulo 8 (the stub is lengthened to get it)
cases=(
  "trailer, file a multiple of 8 bytes|trailer|0"
  "trailer, seven zero bytes of padding before the certificate table|trailer|1"
  "fixed offset|fixed|"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name layout modulo <<<"$row"
  zx_case "signed, $name"
  zx_clear_temp
  cp "$ZX_SETUP" stub.exe
  if [ -n "$modulo" ]; then
    head -c $(((modulo - package_size % 8 + 8) % 8)) /dev/zero >>stub.exe
  fi
  zx_package unsigned.exe --layout "$layout" --stub stub.exe --cab config.cab
  rm -f setup.exe
  osslsigncode sign -certs cert.pem -key key.pem -n "Start-up test" -in unsigned.exe -out setup.exe \
    >sign.log 2>&1 || { zx_fail "signing failed: $(cat sign.log)"; continue; }
  osslsigncode verify -CAfile cert.pem -in setup.exe >verify.log 2>&1 ||
    zx_fail "the signature does not verify: $(tail -5 verify.log)"
  [ -z "$modulo" ] || zx_expect_eq "unsigned length modulo 8" "$modulo" $(($(zx_size unsigned.exe) % 8))
  ! cmp -s <(tail -c 10 setup.exe) <(tail -c 10 unsigned.exe) || zx_fail "signing left the trailer at the end"
  zx_run run.log -- setup.exe
  zx_expect_clean run.log
done

zx_finish
