#!/usr/bin/env bash
# The figures behind the console program's verdicts, for each Windows build
# this machine can run (x86_64 always; i686 where the kernel runs 32-bit code):
#  1. the median cv of four configurations, PASSES passes each, for the
#     program as of BEFORE and as it is now (and the cv with each pass scaled
#     by the machine reference beside it, where the program reports one);
#  2. AA_RUNS comparisons of separate runs of one configuration, AA_GAP
#     seconds apart: every "faster" or "slower" is a false verdict;
#  3. AB_RUNS runs of two configurations that really differ, judged with
#     --baseline in one run: how many in the right direction;
#  4. --self-check.
# The machine's load goes with every figure. The A/B runs fill the A/A gaps.
# COMPARE_ONLY=1 judges the A/A runs kept from last time again, with this build.
# Usage: [ARCHS="x86_64 i686"] [BEFORE=commit] [AA_GAP=s] [AA_RUNS=n] [AB_RUNS=n]
#        [AB_FACE=face] [AB_SIZE=9,12] [AB_STYLE=--italic=both] [PASSES=n] [TARGET=s] [SKIP_CV=1] [COMPARE_ONLY=1] scripts/bench-verdicts.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
out="${ETB_BENCH_DIR:-$root/build/verdicts}"
export WINEPREFIX="${WINEPREFIX:-$out/wineprefix}"
archs=${ARCHS:-"x86_64 i686"}
before=${BEFORE:-e4d3fe6}
gap=${AA_GAP:-60}
aa_runs=${AA_RUNS:-20}
ab_runs=${AB_RUNS:-20}
passes=${PASSES:-10}
target=${TARGET:-0.5}
sweep=(--face "Liberation Sans,IPAゴシック" --size 12 --bold=both --repetitions "$passes" --target "$target")
aa=(--face "Liberation Sans" --size 12 --repetitions "$passes" --target "$target")
ab=(--face "${AB_FACE:-IPAゴシック}" --size "${AB_SIZE:-12}" ${AB_STYLE:-} --opaque=both --baseline 1 --repetitions "$passes" --target "$target")

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
  build "$out/before-src" "$out/before-$arch" "$arch"
done

# Wine's background services start here, not under the pipes that carry the figures.
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
etb_root=$root
. scripts/wine-env.sh
etb_wine_env
wineserver=$WINESERVER
"$wineserver" -p >/dev/null 2>&1 || true
trap '"$wineserver" -k 2>/dev/null || true' EXIT

load() { echo "load $(cut -d' ' -f1-3 /proc/loadavg)"; }
# The median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The column named $1 of a CSV on standard input (no quoted commas here).
column() { awk -F, -v name="$1" 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == name) c = i; next } { print $c }'; }
# The field named $1 in the CSV file $2 of the configuration judged against
# the first: the second, or the last with AB_STYLE (e.g. --italic=both) or two sizes.
second() { column "$1" <"$2" | sed -n "$([ -n "${AB_STYLE:-}${AB_SIZE:-}" ] && echo '$' || echo 2)p"; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $("$WINELOADER" --version)"
for arch in $archs; do
  if [ "$arch" = i686 ] && ! scripts/wine-run.sh --runs-32bit; then
    echo; echo "== i686: built ($out/i686/ExtTextOutBenchCli.exe), not run: this kernel runs no 32-bit programs"
    continue
  fi
  exe="$out/$arch/ExtTextOutBenchCli.exe"
  # Once more when Wine fails to start the program, which happens now and then.
  run() { scripts/wine-run.sh "$exe" "$@" 2>/dev/null || scripts/wine-run.sh "$exe" "$@" 2>/dev/null; }
  work="$out/runs-$arch"
  echo; echo "== $arch"
  if [ -n "${COMPARE_ONLY:-}" ]; then
    for ((i = 1; i <= aa_runs; i++)); do
      run --compare "$work/aa-$((i - 1)).json" "$work/aa-$i.json" --format csv >"$work/aa-$i.csv"
      echo "   A/A $i: ratio $(column ratio <"$work/aa-$i.csv") adjusted $(column adjusted_ratio <"$work/aa-$i.csv"):" \
        "$(column verdict <"$work/aa-$i.csv")"
    done
    cat "$work"/aa-*.csv | column verdict | grep -v '^verdict$' | sort | uniq -c |
      awk '{ n = $1; $1 = ""; print "   A/A verdicts:" $0 ": " n }'
    continue
  fi
  rm -rf "$work" && mkdir -p "$work"

  [ -z "${SKIP_CV:-}" ] && echo "1. cv, ${sweep[*]}"
  for which in $([ -z "${SKIP_CV:-}" ] && echo before after after-cpu1); do
    bin=$exe; [ "$which" = before ] && bin="$out/before-$arch/ExtTextOutBenchCli.exe"
    extra=(); [ "$which" = after-cpu1 ] && extra=(--cpu 1)
    csv=$(scripts/wine-run.sh "$bin" "${sweep[@]}" "${extra[@]}" --format csv 2>/dev/null)
    for cv in cv adjusted_cv; do
      echo "$csv" | head -1 | grep -q "\b$cv\b" || continue
      echo "   $which ($( [ "$which" = before ] && echo "$before" || echo "$built")): $cv per configuration" \
        "$(echo "$csv" | column $cv | awk '{ printf " %.2f%%", $1 * 100 }'); median $(echo "$csv" | column $cv |
        median | awk '{ printf "%.2f%%", $1 * 100 }'); $(load)"
    done
  done

  echo "2./3. A/A: ${aa[*]}, runs $gap s apart; A/B: ${ab[*]}"
  for ((i = 0; i <= aa_runs || i < ab_runs; i++)); do
    start=$(date +%s)
    ((i <= aa_runs)) && run "${aa[@]}" --format json >"$work/aa-$i.json"
    if ((i > 0 && i <= aa_runs)); then
      run --compare "$work/aa-$((i - 1)).json" "$work/aa-$i.json" --format csv >"$work/aa-$i.csv"
      m=$(run --compare "$work/aa-$((i - 1)).json" "$work/aa-$i.json" --format json | awk -F': ' '/machine_ratio/ { sub(/,/, "", $2); print $2 }')
      echo "   A/A $i: ratio $(column ratio <"$work/aa-$i.csv") adjusted $(column adjusted_ratio <"$work/aa-$i.csv")" \
        "machine $m: $(column verdict <"$work/aa-$i.csv"); $(load)"
    fi
    if ((i < ab_runs)); then
      run "${ab[@]}" --format csv >"$work/ab-$i.csv"
      f="$work/ab-$i.csv"
      echo "   A/B $((i + 1)): ratio $(second ratio "$f") ($(second ratio_low "$f")-$(second ratio_high "$f")):" \
        "$(second verdict "$f"); $(load)"
    fi
    while ((i < aa_runs && $(date +%s) - start < gap)); do sleep 1; done
  done
  { cat "$work"/aa-*.csv 2>/dev/null || true; } | column verdict | { grep -v '^verdict$' || true; } | sort |
    uniq -c | awk '{ n = $1; $1 = ""; print "   A/A verdicts:" $0 ": " n }'
  for f in "$work"/ab-*.csv; do echo "$(second ratio "$f") $(second verdict "$f")"; done >"$work/ab.rows"
  echo "   A/B: $(grep -c ' slower$' "$work/ab.rows") of $(wc -l <"$work/ab.rows") slower (the right direction)," \
    "$(grep -c ' faster$' "$work/ab.rows") faster; median ratio $(cut -d' ' -f1 "$work/ab.rows" | median)"

  echo "4. self-check; $(load)"
  run --self-check --face "Liberation Sans" --repetitions 51 | sed 's/^/   /'
done
