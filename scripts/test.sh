#!/usr/bin/env bash
# Runs every test: host unit tests against the simulated Windows, the Windows test program
# under Wine, and the end-to-end runs of real packages under Wine and Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh
ctest --test-dir build/host --output-on-failure --timeout 900 "$@"
