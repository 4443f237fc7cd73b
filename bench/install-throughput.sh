#!/bin/bash
# Benchmark, not a test: how fast the setup installs, and how much memory it takes, against
# (b) the least a program can do with the same cabinets (bench/fdi_baseline.c: FDI of Wine's
# cabinet.dll, each .cab read in place) and (c) an NSIS installer (zlib) of the same payload.
# All three run silently under the same Wine, with one wineserver kept warm for the whole run,
# alternating a, b, c, a, b, c, ... Each run installs into an emptied folder and is checked
# (every file there, with its size and content) so that a broken run is never timed as fast.
#
# Two payloads of the same shape (seeded: many small files, some large; text-like, binary-like
# and random content; a few folders): the full one and a small one, to see whether the
# setup's peak memory depends on the package size.
#
# Prints per payload the median time of each, the ratios a/b and a/c and the peak resident
# memory of the installing Wine process. Goals: a/b <= 1.5, a/c <= 0.85, the setup's peak
# memory no higher than NSIS's and the same for both payloads.
#
# usage: bench/install-throughput.sh [--runs N] [--files N] [--mb MB] [--small-mb MB] [--seed S]
#                                    [--tools abc] [--work DIR] [--build DIR]
#   --build: the Windows build whose setup.exe is measured (default build/win, or build/win64
#            where Wine cannot run 32-bit programs); ZX_WINE_DIR: the Wine state (default
#            BUILD/wine-bench); --work: where payloads and packages are kept (reused when the
#            parameters match; default a temporary folder); --tools: which of a, b, c to run.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=5
files=300
mb=100
small_mb=10
seed=1
tools=abc
work=""
build=""
usage="usage: $0 [--runs N] [--files N] [--mb MB] [--small-mb MB] [--seed S] [--tools abc] [--work DIR] [--build DIR]"
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --files) files=$2; shift 2 ;;
    --mb) mb=$2; shift 2 ;;
    --small-mb) small_mb=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --tools) tools=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
started=$SECONDS

for tool in gcab makensis /usr/bin/time python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
if [ -z "$build" ]; then
  if bash "$root/tests/wine/can-run-32bit.sh"; then build=$root/build/win; else build=$root/build/win64; fi
fi
stub=$build/setup.exe
[ -f "$stub" ] || { echo "no setup.exe in $build (build it, or give --build)" >&2; exit 1; }
export ZX_WINE_DIR=${ZX_WINE_DIR:-$build/wine-bench}
source "$root/tests/wine/env.sh"
command -v "$ZX_MINGW-gcc" >/dev/null || { echo "$ZX_MINGW-gcc is missing (scripts/install-deps.sh)" >&2; exit 1; }
case $ZX_ARCH in
  win64) nsis_target=amd64-unicode ;;
  *) nsis_target=x86-unicode ;;
esac

if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/install-throughput.XXXXXX")
  remove_work=1
else
  remove_work=0
fi
mkdir -p "$work"
work=$(cd "$work" && pwd)

# The Wine fixture (Xvfb and the prefix): a running one of this Wine state is used as it is
# (its stop.sh ends the wineserver kept alive here); one started here is ended at the exit.
own_fixture=0
cleanup() {
  [ "$own_fixture" = 0 ] || bash "$root/tests/wine/stop.sh" >/dev/null
  [ "$remove_work" = 0 ] || rm -rf "$work"
}
trap cleanup EXIT
if ! { [ -s "$ZX_WINE_DIR/display" ] && DISPLAY=$(cat "$ZX_WINE_DIR/display") xdpyinfo >/dev/null 2>&1; }; then
  bash "$root/tests/wine/start.sh" >/dev/null
  own_fixture=1
fi
source "$root/tests/wine/env.sh"
drive_c=$WINEPREFIX/drive_c
# The Windows path of a host path, through Wine's Z: drive.
winpath() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }

baseline=$work/fdi_baseline.exe
"$ZX_MINGW-gcc" -O2 -static -Wall -Wextra -o "$baseline" "$root/bench/fdi_baseline.c" -lcabinet

# make_payload DIR MB: the payload (DIR/payload), its list (DIR/manifest: folder, name, size),
# the per-file cabinets (DIR/cabs, in the payload's folders), the setup package
# (DIR/package.exe) and the NSIS installer (DIR/nsis.exe). Kept while the parameters match.
make_payload() {
  local dir=$1 size_mb=$2
  local stamp
  stamp="files=$files mb=$size_mb seed=$seed target=$nsis_target $(cat "$root/bench/install-throughput.sh" "$root/bench/payload_content.py" | sha1sum)"
  if [ -f "$dir/stamp" ] && [ "$(cat "$dir/stamp")" = "$stamp" ]; then return; fi
  rm -rf "$dir"
  mkdir -p "$dir/payload" "$dir/cabs" "$dir/config"
  ZX_BENCH_DIR="$root/bench" python3 - "$dir" "$files" "$size_mb" "$seed" <<'PY'
import os, random, sys
sys.path.insert(0, os.environ['ZX_BENCH_DIR'])
import payload_content
dir, count, mb, seed = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4])
rng = random.Random(seed)
# The shape is drawn first, so that every size of the payload has the same files.
# Log-normal sizes: many files of a few kilobytes, a few of several megabytes.
weights = [rng.lognormvariate(0, 1.8) for _ in range(count)]
folders = ['bin', 'lib', 'data', 'docs', 'docs\\help']
shape = [(rng.choice(folders), i % 3) for i in range(count)]
total = mb * 1024 * 1024
sizes = [max(200, int(total * w / sum(weights))) for w in weights]
words = payload_content.make_words(rng)

with open(os.path.join(dir, 'manifest'), 'w') as manifest:
    for i, ((folder, kind), n) in enumerate(zip(shape, sizes)):
        data = payload_content.content(rng, words, kind, n)
        name = 'f%03d.%s' % (i, ('txt', 'dll', 'dat')[kind])
        host_folder = os.path.join(dir, 'payload', *folder.split('\\'))
        os.makedirs(host_folder, exist_ok=True)
        with open(os.path.join(host_folder, name), 'wb') as f:
            f.write(data)
        manifest.write('%s\t%s\t%d\n' % (folder, name, n))
PY

  # One MSZIP cabinet per file, holding it under its bare name.
  local folder name size host
  while IFS=$'\t' read -r folder name size; do
    host=${folder//\\//}
    mkdir -p "$dir/cabs/$host"
    (cd "$dir/payload/$host" && gcab -c -z "$dir/cabs/$host/$name.cab" "$name")
  done <"$dir/manifest"

  # The package's body, all that follows the stub but the trailer: the configuration cabinet's
  # length and the cabinet, then the file cabinets in [Files] order.
  python3 - "$dir" <<'PY'
import os, struct, subprocess, sys
dir = sys.argv[1]
entries = [line.rstrip('\n').split('\t') for line in open(os.path.join(dir, 'manifest'))]
cabs = [os.path.join(dir, 'cabs', *folder.split('\\'), name + '.cab') for folder, name, _ in entries]
config = os.path.join(dir, 'config')
lines = ['[Setup]', 'AppName=Install benchmark', 'AppVersion=1.0', 'InstallationPath=C:\\bench\\ours',
         'FilesCount=%d' % len(entries), 'FilesSize=%d' % sum(int(n) for _, _, n in entries), 'Uninstall=1',
         '', '[Files]']
for i, ((folder, name, _), cab) in enumerate(zip(entries, cabs)):
    lines.append('%d=<InstallDir>\\%s\\%s?%d?Overwrite?Yes' % (i, folder, name, os.path.getsize(cab)))
with open(os.path.join(config, 'setup.ini'), 'wb') as f:
    f.write(('\r\n'.join(lines) + '\r\n').encode())
with open(os.path.join(config, 'English.lng'), 'wb') as f:
    f.write(b'[Language]\r\nName=English\r\n')
for name, width, height in (('zxwizard.bmp', 500, 314), ('zxheader.bmp', 498, 55)):
    row = (width * 3 + 3) // 4 * 4
    with open(os.path.join(config, name), 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 54 + row * height, 0, 0, 54))
        f.write(struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, row * height, 2835, 2835, 0, 0))
        f.write(b'\x80' * (row * height))
config_cab = os.path.join(dir, 'config.cab')
subprocess.run(['gcab', '-c', '-z', config_cab] + sorted(os.listdir(config)), cwd=config, check=True)
with open(os.path.join(dir, 'package.body'), 'wb') as out:
    data = open(config_cab, 'rb').read()
    out.write(b'%010d' % len(data) + data)
    for cab in cabs:
        out.write(open(cab, 'rb').read())

# The same files for NSIS, and the list of cabinets for the baseline.
nsi = ['Unicode true', 'Target %s' % os.environ['NSIS_TARGET'], 'SetCompressor zlib',
       'Name "Install benchmark"', 'OutFile "%s"' % os.path.join(dir, 'nsis.exe'),
       'InstallDir "C:\\bench\\nsis"', 'RequestExecutionLevel user', 'Section']
current = None
for folder, name, _ in entries:
    if folder != current:
        nsi.append('  SetOutPath "$INSTDIR\\%s"' % folder)
        current = folder
    nsi.append('  File "%s"' % os.path.join(dir, 'payload', *folder.split('\\'), name))
nsi.append('SectionEnd')
with open(os.path.join(dir, 'nsis.nsi'), 'w') as f:
    f.write('\n'.join(nsi) + '\n')
with open(os.path.join(dir, 'cabinets.lst'), 'wb') as f:
    f.write(b''.join(('%s\\%s.cab\r\n' % (folder, name)).encode() for folder, name, _ in entries))
PY
  makensis -V1 "$dir/nsis.nsi" >"$dir/makensis.log" || { cat "$dir/makensis.log" >&2; return 1; }
  echo "$stamp" >"$dir/stamp"
}

# make_package DIR: DIR/package.exe, the stub as the builder lays it out: padded with zeros to
# the fixed offset when it is shorter, the body, and the trailer with the package's offset.
make_package() {
  local dir=$1 offset
  cp "$stub" "$dir/package.exe"
  offset=$(stat -c %s "$stub")
  if [ "$offset" -lt 250368 ]; then
    offset=250368
    truncate -s "$offset" "$dir/package.exe"
  fi
  cat "$dir/package.body" >>"$dir/package.exe"
  printf '%010d' "$offset" >>"$dir/package.exe"
}

# check_install FOLDER PAYLOAD_DIR: every file of the payload is in FOLDER, with its size and
# content; prints what is wrong, nothing when all is there.
check_install() {
  python3 - "$1" "$2" <<'PY'
import os, sys
target, dir = sys.argv[1], sys.argv[2]
bad = []
for line in open(os.path.join(dir, 'manifest')):
    folder, name, size = line.rstrip('\n').split('\t')
    rel = os.path.join(*folder.split('\\'), name)
    path = os.path.join(target, rel)
    if not os.path.isfile(path):
        bad.append('%s missing' % rel)
    elif os.path.getsize(path) != int(size):
        bad.append('%s has %d bytes, not %s' % (rel, os.path.getsize(path), size))
    elif open(path, 'rb').read() != open(os.path.join(dir, 'payload', rel), 'rb').read():
        bad.append('%s differs' % rel)
if bad:
    print('%d of the files wrong (%s%s)' % (len(bad), ', '.join(bad[:3]), ', ...' if len(bad) > 3 else ''))
PY
}

# run_one TOOL DIR LOG: one timed installation by TOOL (a, b or c) of DIR's payload into its
# emptied folder; appends "TOOL seconds peak_kb" to LOG when the result checks out, else
# prints why not and returns 1.
run_one() {
  local tool=$1 dir=$2 log=$3
  local folder command=()
  case $tool in
    a) folder=$drive_c/bench/ours; command=("$dir/package.exe" /s) ;;
    b) folder=$drive_c/bench/fdi; command=("$baseline" "$(winpath "$dir/cabs")" 'C:\bench\fdi' "$(winpath "$dir/cabinets.lst")") ;;
    c) folder=$drive_c/bench/nsis; command=("$dir/nsis.exe" /S) ;;
  esac
  rm -rf "$folder"
  rm -rf "$drive_c"/users/*/Temp/ZXTMP*
  sync
  local t0 t1 status=0
  t0=$(date +%s.%N)
  # Output into a file: Wine's service processes inherit the handles and outlive the run. A
  # message box nobody answers would stop the run: it ends after ten minutes.
  timeout -k 5 600 /usr/bin/time -f '%M' -o "$work/time.out" "$ZX_WINE" "${command[@]}" \
    </dev/null >"$work/run.out" 2>&1 || status=$?
  t1=$(date +%s.%N)
  local wrong=""
  [ "$status" = 0 ] || wrong="exit code $status"
  [ -n "$wrong" ] || wrong=$(check_install "$folder" "$dir")
  if [ -n "$wrong" ]; then
    echo "  ($tool) run failed: $wrong" >&2
    return 1
  fi
  echo "$tool $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }') $(tail -n 1 "$work/time.out")" >>"$log"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# A wineserver that already runs for this prefix refuses a second one; it is used as it is.
"$ZX_WINESERVER" -p 2>/dev/null || echo "a wineserver already runs for $WINEPREFIX: used as it is" >&2
sizes=("$small_mb" "$mb")
for size_mb in "${sizes[@]}"; do
  dir=$work/payload-${size_mb}mb
  echo "preparing the $size_mb MB payload ..." >&2
  NSIS_TARGET=$nsis_target make_payload "$dir" "$size_mb"
  make_package "$dir"
  log=$dir/times
  : >"$log"
  # One untimed round first: Wine's services, the page cache, and a check that each works.
  active=""
  for tool in $(echo "$tools" | grep -o .); do
    if run_one "$tool" "$dir" "$dir/warmup"; then active+=$tool; else echo "  ($tool) left out" >&2; fi
  done
  for run in $(seq "$runs"); do
    echo "  run $run of $runs" >&2
    for tool in $(echo "$active" | grep -o .); do run_one "$tool" "$dir" "$log" || true; done
  done
done

python3 - "$work" "$small_mb" "$mb" "$files" "$runs" "$stub" "$ZX_ARCH" <<'PY'
import os, statistics, sys
work, small, large, files, runs, stub, arch = sys.argv[1:8]
names = {'a': 'ours (setup.exe /s)', 'b': 'FDI baseline', 'c': 'NSIS zlib (/S)'}
peaks = {}
print('install throughput under Wine (%s), %s runs each, alternating; stub %s, %d bytes' %
      (arch, runs, stub, os.path.getsize(stub)))
for size in (small, large):
    dir = os.path.join(work, 'payload-%smb' % size)
    sizes = sorted(int(l.split('\t')[2]) for l in open(os.path.join(dir, 'manifest')))
    payload = sum(sizes)
    cabs = os.path.getsize(os.path.join(dir, 'package.exe'))
    nsis = os.path.getsize(os.path.join(dir, 'nsis.exe'))
    print()
    print('payload %s MB: %s files, %.1f MB (sizes %d bytes to %.1f MB, median %.0f KB); '
          'package %.1f MB, NSIS installer %.1f MB' %
          (size, files, payload / 2**20, sizes[0], sizes[-1] / 2**20, statistics.median(sizes) / 1024,
           cabs / 2**20, nsis / 2**20))
    times, memory = {}, {}
    for line in open(os.path.join(dir, 'times')):
        tool, seconds, kb = line.split()
        times.setdefault(tool, []).append(float(seconds))
        memory.setdefault(tool, []).append(int(kb))
    median = {}
    for tool in 'abc':
        if tool not in times:
            print('  (%s) %-22s no valid run' % (tool, names[tool]))
            continue
        t = times[tool]
        median[tool] = statistics.median(t)
        peaks[(tool, size)] = max(memory[tool]) / 1024
        print('  (%s) %-22s median %6.2f s  (min %.2f, max %.2f, %d valid)  %6.1f MB/s  peak RSS %5.1f MB' %
              (tool, names[tool], median[tool], min(t), max(t), len(t), payload / 2**20 / median[tool],
               peaks[(tool, size)]))
    if 'a' in median and 'b' in median:
        print('  a/b = %.2f  (goal <= 1.5)' % (median['a'] / median['b']))
    if 'a' in median and 'c' in median:
        print('  a/c = %.2f  (goal <= 0.85)' % (median['a'] / median['c']))
print()
for size in (small, large):
    if ('a', size) in peaks and ('c', size) in peaks:
        print('peak memory, %s MB: ours %.1f MB, NSIS %.1f MB  (goal: ours <= NSIS)' %
              (size, peaks[('a', size)], peaks[('c', size)]))
if ('a', small) in peaks and ('a', large) in peaks:
    print('peak memory of ours, %s MB against %s MB payload: %+.1f MB  (goal: about 0, independent of the package size)' %
          (large, small, peaks[('a', large)] - peaks[('a', small)]))
PY
echo "load average before / after: $load_before / $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) CPUs; other work skews the figures)"
echo "benchmark time: $((SECONDS - started)) s"
