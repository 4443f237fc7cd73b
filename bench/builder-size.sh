#!/bin/bash
# Benchmark, not a test: the package builder against gcab on the same files. Generates a
# seeded payload (text-like, binary-like and random files), packs it with mkpackage and with
# `gcab -c -z` (one cabinet per file, as the package holds them), and prints sizes, times and
# their ratios. Goal: mkpackage's cabinets no larger than gcab's, its time at most 1.5 times
# gcab's.
#
# usage: bench/builder-size.sh [--files N] [--mb MB] [--seed S] [--work DIR] [--tool PATH]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
files=300
mb=100
seed=1
work=""
tool="${MKPACKAGE:-$root/build/host/mkpackage}"
while [ $# -gt 0 ]; do
  case "$1" in
    --files) files=$2; shift 2 ;;
    --mb) mb=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --tool) tool=$2; shift 2 ;;
    *) echo "usage: $0 [--files N] [--mb MB] [--seed S] [--work DIR] [--tool PATH]" >&2; exit 2 ;;
  esac
done
command -v gcab >/dev/null || { echo "gcab is not installed" >&2; exit 1; }
[ -x "$tool" ] || { echo "no mkpackage at $tool (build it, or give --tool)" >&2; exit 1; }

if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/builder-size.XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"
project="$work/project"
rm -rf "$project" "$work/gcab" "$work/package.exe"
mkdir -p "$project/files" "$work/gcab"

# The payload: a third of the bytes each text-like (words and numbers in lines), binary-like
# (records of small integers, offsets and repeated tables, as in programs and data files) and
# random; sizes spread from a few hundred bytes to several megabytes.
ZX_BENCH_DIR="$root/bench" python3 - "$project" "$files" "$mb" "$seed" <<'PY'
import os, random, struct, sys
sys.path.insert(0, os.environ['ZX_BENCH_DIR'])
import payload_content
project, count, mb, seed = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4])
rng = random.Random(seed)
weights = [rng.paretovariate(1.2) for _ in range(count)]
total = mb * 1024 * 1024
sizes = [max(200, int(total * w / sum(weights))) for w in weights]
words = payload_content.make_words(rng)

lines = ['[Setup]', 'AppName=Benchmark', '', '[Files]']
for i, n in enumerate(sizes):
    kind = i % 3
    data = payload_content.content(rng, words, kind, n)
    name = 'f%03d.%s' % (i, ('txt', 'dll', 'dat')[kind])
    with open(os.path.join(project, 'files', name), 'wb') as f:
        f.write(data)
    lines.append('%d=<InstallDir>\\%s?files/%s?Overwrite?Yes' % (i, name, name))
with open(os.path.join(project, 'setup.ini'), 'w', newline='\r\n') as f:
    f.write('\n'.join(lines) + '\n')
with open(os.path.join(project, 'English.lng'), 'w') as f:
    f.write('[Info]\nid=1033\n')
# No pictures: the builder paints its own, as for any project without them.
# A stand-in stub: "MZ" and a PE signature.
stub = bytearray(1024)
stub[0:2] = b'MZ'; struct.pack_into('<I', stub, 0x3C, 0x80); stub[0x80:0x84] = b'PE\0\0'
with open(os.path.join(project, '..', 'stub.exe'), 'wb') as f:
    f.write(stub)
PY

payload=$(cat "$project"/files/* | wc -c)
now() { date +%s.%N; }

# Warm the page cache so that both tools read from memory.
cat "$project"/files/* > /dev/null

t0=$(now)
"$tool" "$project" -o "$work/package.exe" --stub "$work/stub.exe" 2> "$work/mkpackage.log" ||
  { cat "$work/mkpackage.log" >&2; exit 1; }
t1=$(now)
(cd "$project/files" && for f in *; do gcab -c -z -n "$work/gcab/$f.cab" "$f"; done)
t2=$(now)

# The per-file cabinets of the package: everything after the configuration cabinet and
# before the trailer.
read -r package_total cabinets <<<"$(python3 - "$work/package.exe" <<'PY'
import sys
d = open(sys.argv[1], 'rb').read()
p = int(d[-10:]); l = int(d[p:p + 10])
print(len(d), len(d) - 10 - (p + 10 + l))
PY
)"
gcab_total=$(cat "$work"/gcab/*.cab | wc -c)

python3 - "$files" "$payload" "$cabinets" "$gcab_total" "$package_total" "$t0" "$t1" "$t2" <<'PY'
import sys
files, payload, ours, theirs, package = (int(x) for x in sys.argv[1:6])
t0, t1, t2 = (float(x) for x in sys.argv[6:9])
ours_t, theirs_t = t1 - t0, t2 - t1
print('payload:            %d files, %.1f MB' % (files, payload / 1048576))
print('mkpackage cabinets: %d bytes (%.2f%% of the payload); whole package %d bytes' % (ours, 100.0 * ours / payload, package))
print('gcab -c -z:         %d bytes (%.2f%% of the payload)' % (theirs, 100.0 * theirs / payload))
print('size ratio:         %.4f (mkpackage / gcab; goal <= 1)' % (ours / theirs))
print('mkpackage time:     %.2f s' % ours_t)
print('gcab time:          %.2f s (%d runs)' % (theirs_t, files))
print('time ratio:         %.2f (mkpackage / gcab; goal <= 1.5)' % (ours_t / theirs_t))
PY
