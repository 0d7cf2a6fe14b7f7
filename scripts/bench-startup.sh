#!/usr/bin/env bash
# Start-up cost against a floor: a bare window program (one window, one edit
# box, a message loop; bench/startup) built the same way. Nine pairs of
# starts on one warm Wine prefix, the two of a pair back to back from one
# driver process and their order swapped every other pair; each figure is
# the time from CreateProcess to the first visible top-level window
# answering a message. Prints every pair and the median of the
# ratios program / floor, for x86_64 and, where the kernel runs 32-bit
# programs, i686. Ratios, not times, are the result: they hold up under some
# load; with other builds on every core, single pairs scatter widely and the
# ratio of the fastest starts, printed last, is the steadier figure.
# ETB_BENCH_DIR overrides where the builds go (build/bench-startup/<arch>).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

pairs=9
bench_dir="${ETB_BENCH_DIR:-$root/build/bench-startup}"

# Starts each program given once, back to back; prints their milliseconds.
starts() { scripts/wine-run.sh "$build/tools/etb_driver.exe" startup "$@" </dev/null | tr -d '\r'; }
fastest() { printf '%s\n' "$@" | sort -g | head -1; }

# Wine's services up before anything is timed, and not holding our pipes.
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true

for arch in x86_64 i686; do
  build="$bench_dir/$arch"
  cmake --preset "mingw-$arch" -B "$build" -DETB_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target ExtTextOutBench startup_floor etb_driver >/dev/null
  floor="$build/bench/startup_floor.exe" program="$build/ExtTextOutBench.exe"

  echo "== $arch (load: $(cut -d' ' -f1-3 /proc/loadavg))"
  # Unmeasured starts: files cached, fonts and classes warm on both sides.
  if ! starts "$floor" "$program" >/dev/null 2>&1; then
    echo "$arch: cannot run here (a kernel without 32-bit programs runs no 32-bit Wine); skipped"
    continue
  fi
  ratios=() floors=() programs=()
  for ((i = 1; i <= pairs; i++)); do
    if ((i % 2)); then read -r f p < <(starts "$floor" "$program"); else read -r p f < <(starts "$program" "$floor"); fi
    [ -n "${f:-}" ] && [ -n "${p:-}" ] || { echo "$arch: a start failed" >&2; exit 1; }
    r=$(awk -v p="$p" -v f="$f" 'BEGIN { printf "%.3f", p / f }')
    ratios+=("$r") floors+=("$f") programs+=("$p")
    printf 'pair %d: floor %7.1f ms  ExtTextOutBench %7.1f ms  ratio %s\n' "$i" "$f" "$p" "$r"
  done
  printf '%s\n' "${ratios[@]}" | sort -g | sed -n "$(((pairs + 1) / 2))p" | sed "s/^/$arch median ratio: /"
  # Load only ever adds time, so on a busy machine the fastest starts agree
  # better than the pairs do.
  awk -v p="$(fastest "${programs[@]}")" -v f="$(fastest "${floors[@]}")" \
    'BEGIN { printf "'"$arch"' fastest starts: floor %.1f ms, ExtTextOutBench %.1f ms, ratio %.3f\n", f, p, p / f }'
done
