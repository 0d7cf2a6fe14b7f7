#!/usr/bin/env bash
# How often the console program's verdict within one run is right, and how long it takes,
# for each Windows build this machine can run (x86_64 always; i686 where the kernel runs
# 32-bit code):
#  1. RUNS runs with --max-time MAX_TIME of an A/B pair about 5% apart (two lengths of one
#     text, the longer judged against the shorter: "slower" is right) and of an A/A pair (one
#     configuration given twice: "faster" or "slower" is wrong, "within margin" right);
#  2. DEFAULT_RUNS runs of the same pairs at the default settings (5 passes, no time limit),
#     with this build's paired verdict and with BEFORE's unpaired one;
#  3. across runs, as two builds are compared: COMPARISONS --compare's of PAIRS alternating
#     runs a side (scripts/alternate.sh) of one length against itself (A/A) and of the pair's
#     two lengths (A/B), and COMPARISONS of one run a side (A/A).
# Each line: right / wrong / undecided, and the seconds the measurement took (median, max)
# as the program records them (BEFORE records none: its wall seconds less Wine's start); in 3,
# the wall seconds of a comparison's runs.
# Usage: [ARCHS="x86_64 i686"] [RUNS=20] [MAX_TIME=10] [DEFAULT_RUNS=10] [BEFORE=e0beb0d] [AB_LENGTHS=40,42]
#        [COMPARISONS=20] [PAIRS=8] scripts/bench-verdicts.sh   (a count of 0 skips a part)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
out="${ETB_BENCH_DIR:-$root/build/verdicts}"
export WINEPREFIX="${WINEPREFIX:-$out/wineprefix}"
archs=${ARCHS:-"x86_64 i686"}
runs=${RUNS:-20}
max_time=${MAX_TIME:-10}
default_runs=${DEFAULT_RUNS:-10}
before=${BEFORE:-e0beb0d}
ab=(--face "Liberation Sans" --size 12 --length "${AB_LENGTHS:-40,42}" --baseline 1)
aa=(--face "Liberation Sans,Liberation Sans" --size 12 --length 40 --baseline 1)
comparisons=${COMPARISONS:-20}
pairs=${PAIRS:-8}
lengths=${AB_LENGTHS:-40,42}

build() {  # source dir, build dir, arch
  mkdir -p "$2"
  if ! (cd "$1" && cmake --preset "mingw-$3" -B "$2" -DETB_TESTS=OFF &&
        cmake --build "$2" -j2 --target ExtTextOutBenchCli) >"$2/build.log" 2>&1; then
    cat "$2/build.log" >&2
    exit 1
  fi
}
built=$(git rev-parse --short HEAD)$(git diff --quiet HEAD -- src || echo +)
mkdir -p "$out/before-src"
git archive "$before" | tar -x -C "$out/before-src"
for arch in $archs; do
  build "$root" "$out/$arch" "$arch"
  [ "$default_runs" = 0 ] || build "$out/before-src" "$out/before-$arch" "$arch"
done

# Wine's background services start here, not under the pipes that carry the figures.
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
etb_root=$root
. scripts/wine-env.sh
etb_wine_env
"$WINESERVER" -p >/dev/null 2>&1 || true
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
t0=$(date +%s.%N)
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
start_seconds=$(python3 -c 'import sys; print("%.1f" % (float(sys.argv[2]) - float(sys.argv[1])))' "$t0" "$(date +%s.%N)")

# One run's verdict of the second configuration and its measuring seconds, as "verdict|seconds".
verdict() {  # exe, arguments...
  local exe=$1 t0 t1 json
  shift
  t0=$(date +%s.%N)
  json=$(scripts/wine-run.sh "$exe" "$@" --format json 2>/dev/null || scripts/wine-run.sh "$exe" "$@" --format json 2>/dev/null)
  t1=$(date +%s.%N)
  python3 -c '
import json, sys
d = json.loads(sys.stdin.read())
seconds = d["context"].get("seconds")
if seconds is None: seconds = float(sys.argv[2]) - float(sys.argv[1]) - float(sys.argv[3])
print(d["results"][1]["verdict"] + "|" + "%.1f" % seconds)' "$t0" "$t1" "$start_seconds" <<<"$json"
}
# right / wrong / undecided of the lines "verdict|seconds" on standard input, and the seconds.
tally() {  # the right word, the wrong words (a regular expression)
  python3 -c '
import re, statistics, sys
right, wrong = sys.argv[1], re.compile(sys.argv[2])
rows = [l.rstrip("\n").rsplit("|", 1) for l in sys.stdin if "|" in l]
r = sum(v == right for v, _ in rows); w = sum(bool(wrong.fullmatch(v)) for v, _ in rows)
s = [float(x) for _, x in rows]
print("%d right, %d wrong, %d undecided of %d; seconds median %.1f, max %.1f" %
      (r, w, len(rows) - r - w, len(rows), statistics.median(s), max(s)))' "$1" "$2"
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $("$WINELOADER" --version); Wine starts in ${start_seconds} s"
for arch in $archs; do
  if [ "$arch" = i686 ] && ! scripts/wine-run.sh --runs-32bit; then
    echo; echo "== i686: built ($out/i686/ExtTextOutBenchCli.exe), not run: this kernel runs no 32-bit programs"
    continue
  fi
  work="$out/runs-$arch"
  rm -rf "$work" && mkdir -p "$work"
  echo; echo "== $arch ($built); load $(cut -d' ' -f1-3 /proc/loadavg)"
  exe="$out/$arch/ExtTextOutBenchCli.exe"
  if ((runs > 0)); then
    for ((i = 0; i < runs; i++)); do
      verdict "$exe" "${ab[@]}" --max-time "$max_time" >>"$work/ab-max.txt"
      verdict "$exe" "${aa[@]}" --max-time "$max_time" >>"$work/aa-max.txt"
    done
    echo "1. --max-time $max_time"
    echo "   A/B ${ab[*]}: $(tally slower 'faster|within margin' <"$work/ab-max.txt")"
    echo "   A/A ${aa[*]}: $(tally 'within margin' 'faster|slower' <"$work/aa-max.txt")"
  fi
  if ((comparisons > 0)); then
    one="scripts/wine-run.sh $exe --face 'Liberation Sans' --size 12 -n 5000 -q --format json --length"
    across() {  # pairs, length A, length B: the first row's verdict and the runs' wall seconds
      local t0 json
      t0=$(date +%s.%N)
      json=$(ETB_ALTERNATE_DIR="$work/alternate" ETB_COMPARE="scripts/wine-run.sh $exe" \
             scripts/alternate.sh "$1" "$one $2" "$one $3" --format json 2>/dev/null)
      python3 -c 'import json, sys; print(json.loads(sys.stdin.read())["rows"][0]["verdict"] + "|%.1f" % (float(sys.argv[2]) - float(sys.argv[1])))' \
        "$t0" "$(date +%s.%N)" <<<"$json"
    }
    for ((i = 0; i < comparisons; i++)); do
      across "$pairs" "${lengths%,*}" "${lengths%,*}" >>"$work/aa-runs.txt"
      across "$pairs" "${lengths%,*}" "${lengths#*,}" >>"$work/ab-runs.txt"
      across 1 "${lengths%,*}" "${lengths%,*}" >>"$work/aa-single.txt"
    done
    echo "3. across runs, -n 5000, $pairs alternating runs a side or one; load $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "   A/B, lengths $lengths, $pairs runs a side: $(tally slower 'faster|within margin' <"$work/ab-runs.txt")"
    echo "   A/A, $pairs runs a side: $(tally 'within margin' 'faster|slower' <"$work/aa-runs.txt")"
    echo "   A/A, one run a side: $(tally 'no clear difference' 'faster|slower' <"$work/aa-single.txt")"
  fi
  ((default_runs > 0)) || continue
  for ((i = 0; i < default_runs; i++)); do
    for which in now before; do
      bin=$exe; [ "$which" = before ] && bin="$out/before-$arch/ExtTextOutBenchCli.exe"
      verdict "$bin" "${ab[@]}" >>"$work/ab-$which.txt"
      verdict "$bin" "${aa[@]}" >>"$work/aa-$which.txt"
    done
  done
  echo "2. default settings (this build: 10 rounds; $before: 5 passes); load $(cut -d' ' -f1-3 /proc/loadavg)"
  for which in now before; do
    label=$([ "$which" = now ] && echo "paired, $built" || echo "unpaired, $before")
    echo "   A/B, $label: $(tally slower 'faster|within margin' <"$work/ab-$which.txt")"
    echo "   A/A, $label: $(tally 'within margin' 'faster|slower' <"$work/aa-$which.txt")"
  done
done
