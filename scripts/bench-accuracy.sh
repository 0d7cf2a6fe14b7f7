#!/usr/bin/env bash
# Builds the accuracy benchmark for both Windows targets in its own build
# directories and runs the 64-bit one under Wine: the program's own run
# path against a bare loop of the same calls, as a table.
# Usage: scripts/bench-accuracy.sh [--pairs MIN] [--max-pairs MAX] [--row-seconds S] [--face NAME]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
out="${ETB_BENCH_DIR:-$root/build/bench}"
export WINEPREFIX="${WINEPREFIX:-$out/wineprefix}"

for arch in i686 x86_64; do
  mkdir -p "$out/$arch"
  if ! { cmake --preset "mingw-$arch" -B "$out/$arch" -DETB_TESTS=OFF &&
         cmake --build "$out/$arch" -j2 --target AccuracyBench ExtTextOutBench; } >"$out/$arch/build.log" 2>&1; then
    cat "$out/$arch/build.log" >&2
    exit 1
  fi
done

# The timed loop as each compiler made it: the body should be the call (its
# arguments included), the loop counter and the branch, nothing else.
timed_loop() {
  "$1" -d --no-show-raw-insn --disassemble="$3" "$2" | awk '
    # Addresses within one function have the same width: compare them as text.
    /^ +[0-9a-f]+:\t/ {
      addr = $1; sub(/:$/, "", addr); line[++n] = $0; at[n] = addr ""
      if ($2 ~ /^j/ && $2 != "jmp" && ($3 "") < (addr "")) { from = $3 ""; to = addr "" }
    }
    END {
      count = 0
      for (i = 1; i <= n; i++) if (at[i] >= from && at[i] <= to) { print line[i]; count++ }
      print "  " count " instructions in the loop body"
    }'
}

echo "TimeDrawLoop, x86_64 ExtTextOutBench.exe:"
timed_loop x86_64-w64-mingw32-objdump "$out/x86_64/ExtTextOutBench.exe" _Z12TimeDrawLoopP5HDC__PKcii
echo "TimeDrawLoop, i686 ExtTextOutBench.exe:"
timed_loop i686-w64-mingw32-objdump "$out/i686/ExtTextOutBench.exe" __Z12TimeDrawLoopP5HDC__PKcii
echo

# Wine's background services start here, not under the pipe that carries the table.
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
/usr/lib/wine/wineserver64 -p >/dev/null 2>&1 || true
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
trap '/usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(/usr/lib/wine/wine64 --version)"
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "i686: built ($out/i686/bench/AccuracyBench.exe), not run: this kernel runs no 32-bit programs"
fi
scripts/wine-run.sh "$out/x86_64/bench/AccuracyBench.exe" "$@"
