#!/usr/bin/env bash
# The console program against the interactive program's run path, with the
# same settings:
#  1. ExtTextOutBenchCli.exe and run_path_probe.exe (every pass a whole
#     RunBenchmark, as a press of Test makes it) as separate programs,
#     alternating which goes first, ROUNDS rounds: each round's median (and
#     minimum) time per call and how far the medians of the rounds lie apart;
#  2. both paths alternating pass by pass in one process on one canvas
#     (run_path_probe --paired), so a busy machine slows both alike.
# Short passes and many of them keep stalls out of the medians.
# Usage: scripts/bench-cli-agreement.sh [ROUNDS] [-- extra options for both]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out="${ETB_BENCH_DIR:-$root/build/bench-cli}"
export WINEPREFIX="${WINEPREFIX:-$out/wineprefix}"

rounds=9
if [ $# -gt 0 ] && [ "$1" != "--" ]; then rounds=$1; shift; fi
[ "${1:-}" = "--" ] && shift
settings=(--face "Liberation Sans" --size 12 --count 10000 --repetitions 31 --warmup 1 "$@")

mkdir -p "$out"
if ! { cmake --preset mingw-x86_64 -B "$out" &&
       cmake --build "$out" -j2 --target ExtTextOutBenchCli run_path_probe; } >"$out/build.log" 2>&1; then
  cat "$out/build.log" >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$rounds" -- "$@"
fi

# Wine's background services start here, not under the pipes that carry the figures.
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
/usr/lib/wine/wineserver64 -p >/dev/null 2>&1 || true
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
trap '/usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT

# Each prints "median min" in ms per call.
probe() { scripts/wine-run.sh "$out/bench/run_path_probe.exe" "${settings[@]}" | awk '{print $2, $4}'; }
cli() {
  scripts/wine-run.sh "$out/ExtTextOutBenchCli.exe" "${settings[@]}" --format csv |
    awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) { if ($i == "median_ms") m = i; if ($i == "min_ms") n = i } }
             NR == 2 { print $m, $n }'
}

echo "settings: ${settings[*]}"
echo "machine: $(nproc) cores, $(/usr/lib/wine/wine64 --version), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "1. the two programs, $rounds rounds"
printf '%-6s  %-26s  %-26s\n' round "RunBenchmark median (min)" "console median (min)"
results=()
for ((r = 1; r <= rounds; r++)); do
  if ((r % 2)); then p=$(probe); c=$(cli); else c=$(cli); p=$(probe); fi
  read -r pm pn <<<"$p"
  read -r cm cn <<<"$c"
  printf '%-6s  %-26s  %-26s\n' "$r" "$pm ($pn)" "$cm ($cn)"
  results+=("$pm $cm $pn $cn")
done
printf '%s\n' "${results[@]}" | awk '
  { p[NR] = $1; c[NR] = $2; pn[NR] = $3; cn[NR] = $4 }
  function median(a, n,   i, j, t) {
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
  }
  END {
    mp = median(p, NR); mc = median(c, NR); np = median(pn, NR); nc = median(cn, NR)
    printf "median  %-26s  %-26s\n", sprintf("%.6g (%.6g)", mp, np), sprintf("%.6g (%.6g)", mc, nc)
    printf "median per-call time, console / RunBenchmark = %.4f (%+.2f%%)\n", mc / mp, (mc / mp - 1) * 100
  }'

echo
echo "2. both paths in one process, passes alternating"
scripts/wine-run.sh "$out/bench/run_path_probe.exe" --paired "${settings[@]}" --repetitions 101 | awk '
  { m[$1] = $3; print }
  END {
    printf "median per-call time, console / RunBenchmark = %.4f (%+.2f%%)\n", m["console"] / m["run_benchmark"],
           (m["console"] / m["run_benchmark"] - 1) * 100
  }'
