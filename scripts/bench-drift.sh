#!/usr/bin/env bash
# How far the console program's figures move between runs of the same command, and whether
# the machine reference moves with them, for each Windows build this machine can run:
# RUNS back-to-back runs of one configuration (JSON), then
#  - the ratio of neighbouring runs' medians (A/A pairs of single runs): median, 90th
#    percentile and largest move, plain and in machine-reference units;
#  - the correlation across runs of the log median with the log median reference.
# Usage: [ARCHS="x86_64 i686"] [RUNS=40] scripts/bench-drift.sh [program arguments...]
# (default arguments: the Japanese text in IPA明朝, bold, opaque, 1000 calls a pass)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
out="${ETB_BENCH_DIR:-$root/build/drift}"
export WINEPREFIX="${WINEPREFIX:-$out/wineprefix}"
archs=${ARCHS:-"x86_64 i686"}
runs=${RUNS:-40}
[ $# -gt 0 ] || set -- --text 日本語のテキスト --face IPA明朝 --bold --opaque --count 1000

etb_root=$root
. scripts/wine-env.sh
etb_wine_env
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
"$WINESERVER" -p >/dev/null 2>&1 || true
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT

for arch in $archs; do
  if [ "$arch" = i686 ] && ! scripts/wine-run.sh --runs-32bit >/dev/null 2>&1; then
    echo "i686: skipped, this machine runs no 32-bit programs"
    continue
  fi
  mkdir -p "$out/$arch"
  (cmake --preset "mingw-$arch" -B "$out/$arch" -DETB_TESTS=OFF &&
   cmake --build "$out/$arch" -j2 --target ExtTextOutBenchCli) >"$out/$arch/build.log" 2>&1 ||
    { cat "$out/$arch/build.log" >&2; exit 1; }
  rm -f "$out/$arch"/run-*.json
  for i in $(seq -w 1 "$runs"); do
    scripts/wine-run.sh "$out/$arch/ExtTextOutBenchCli.exe" "$@" -q --format json >"$out/$arch/run-$i.json" 2>/dev/null
  done
  python3 - "$arch" "$out/$arch"/run-*.json <<'EOF'
import json, math, statistics, sys
arch, files = sys.argv[1], sys.argv[2:]
med, ref = [], []
for f in files:
    d = json.load(open(f))
    med.append(d["results"][0]["median_ms"])
    ref.append(statistics.median(d["context"]["machine_reference_ms"]))
def moves(xs):
    m = sorted(abs(math.log(b / a)) for a, b in zip(xs, xs[1:]))
    q = lambda p: math.exp(m[min(len(m) - 1, int(p * len(m)))]) - 1
    return "median %4.1f%%, 90th %4.1f%%, largest %5.1f%%" % (100 * q(0.5), 100 * q(0.9), 100 * (math.exp(m[-1]) - 1))
lm, lr = [math.log(x) for x in med], [math.log(x) for x in ref]
print("%s, %d runs: median per call %.4g to %.4g ms, reference %.3g to %.3g ms" % (arch, len(files), min(med), max(med), min(ref), max(ref)))
print("  neighbouring runs, plain:            " + moves(med))
print("  neighbouring runs, reference units:  " + moves([m / r for m, r in zip(med, ref)]))
print("  correlation of log median with log reference across runs: %.2f" % statistics.correlation(lm, lr))
EOF
done
