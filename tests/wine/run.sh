#!/usr/bin/env bash
# Runs one Windows program under this run's Wine (the fixture must have started) and passes on
# its output and exit code: `run.sh PROGRAM [ARGS...]`.
#
# The output goes through a file: Wine's own service processes, started along with the
# program, inherit its standard handles and outlive it, and would keep a pipe to CTest open.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh" || exit 1
[ -f "$1" ] || { echo "run.sh: missing $1" >&2; exit 1; }
output=$(mktemp)
"$ZX_WINE" "$@" </dev/null >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
exit $status
