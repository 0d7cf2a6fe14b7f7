#!/usr/bin/env bash
# What the surface drawn on, its size and the first draw of a font cost, for each Windows build
# this machine runs (x86_64 always; i686 where the kernel runs 32-bit code): one run for each
# large size, each judging ddb, dib32, dib24 and window at 421x113 and at that size against
# today's canvas (ddb 421x113), with --first-draw; then the interactive program's own face and
# text with --first-draw alone, the first call of its first run.
# Each line: surface and size, median ms a call, the ratio to the canvas with its 95% interval
# and verdict, the first draw's median ms and its cold/warm ratio with its 95% interval.
# Usage: [ARCHS="x86_64 i686"] [SIZES="1920x1080 2560x1440 3840x2160"] [TARGET=0.1]
#        scripts/bench-surfaces.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# A screen a 3840x2160 window fits on beside the canvas.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 4400x2400x24" "$0" "$@"
fi
archs=${ARCHS:-"x86_64 i686"}
sizes=${SIZES:-"1920x1080 2560x1440 3840x2160"}
target=${TARGET:-0.1}
text="いろはにほへと、ちりぬるを。日本語の文字列"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
load() { echo "load $(cut -d' ' -f1-3 /proc/loadavg)"; }
digits() { perl -pe 's/(\d+\.\d+(?:e-?\d+)?)/sprintf("%.3g", $1)/ge'; }
rows() {
  jq -r '.results[] | "  \(.surface) \(.canvas_width)x\(.canvas_height): \(.median_ms) ms" +
    (if .verdict == "baseline" then ", the canvas" elif .verdict then ", ratio \(.ratio) [\(.ratio_low), \(.ratio_high)] \(.verdict)" else "" end) +
    (if .first_draw_ms then "; first draw \(.first_draw_ms) ms, cold/warm \(.first_draw_ratio) [\(.first_draw_ratio_ci[0]), \(.first_draw_ratio_ci[1])]" else "" end)' "$1"
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'); $(load)"
for arch in $archs; do
  if [ "$arch" = i686 ] && ! scripts/wine-run.sh --runs-32bit; then
    echo "== i686: skipped, this kernel runs no 32-bit programs"
    continue
  fi
  cmake --preset "mingw-$arch" >/dev/null
  cmake --build --preset "mingw-$arch" --target ExtTextOutBenchCli >/dev/null
  cli() { scripts/wine-run.sh "build/$arch/ExtTextOutBenchCli.exe" --target "$target" -q "$@"; }
  echo "== $arch, IPAゴシック 12, \"$text\", passes of $target s, $(load)"
  for size in $sizes; do
    cli --face IPAゴシック --text "$text" --surface ddb,dib32,dib24,window --canvas "421x113,$size" \
      --baseline 1 --first-draw --format json >"$out/s.json"
    echo "against ddb 421x113, with $size ($(jq -r .context.rounds "$out/s.json") rounds):"
    rows "$out/s.json" | digits
  done
  cli --first-draw --format json >"$out/d.json"
  echo "the interactive program's face and text ($(jq -r '.results[0].face' "$out/d.json"), $(jq -r .context.text_bytes "$out/d.json") bytes):"
  rows "$out/d.json" | digits
  echo "($(load))"
done
