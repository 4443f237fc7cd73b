#!/usr/bin/env bash
# Succeeds when this machine can run 32-bit Windows programs: 32-bit Wine is installed and the
# kernel executes 32-bit binaries (some kernels boot with that switched off). Used to choose
# between the i686 build with `wine` and the x86_64 twin with `wine64`.
/usr/lib/wine/wine --version >/dev/null 2>&1
