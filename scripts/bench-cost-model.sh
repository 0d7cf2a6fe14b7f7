#!/usr/bin/env bash
# What a text call costs, fixed and per character, for each Windows build this
# machine runs (x86_64 always; i686 where the kernel runs 32-bit code):
#  1. Liberation Sans 12 and IPAゴシック 12, ASCII and Japanese text, lengths
#     1 to 256 bytes: the fixed and per-character costs with 95% intervals, R^2;
#  2. ExtTextOutW and GetTextExtentPoint32A against ExtTextOutA, and each
#     quality against default, with verdicts (--baseline), and the smoothing the
#     pixels show;
#  3. the fitted time at the default text's length (44 bytes) against the
#     time measured at that length, in one run of lengths that stay within the
#     canvas (beyond it the glyphs are cut off and cost less); 44 is one of the
#     ten lengths fitted.
# Usage: [ARCHS="x86_64 i686"] [PASSES=5] [TARGET=0.1] scripts/bench-cost-model.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
archs=${ARCHS:-"x86_64 i686"}
passes=${PASSES:-5}
target=${TARGET:-0.1}
lengths=1,2,4,8,16,32,64,128,256
ascii="The quick brown fox jumps over the lazy dog."
japanese="いろはにほへと、ちりぬるを。日本語の文字列"
faces=("Liberation Sans" "IPAゴシック")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

load() { echo "load $(cut -d' ' -f1-3 /proc/loadavg)"; }
# Three significant digits, as the program's table has them.
digits() { perl -pe 's/(\d+\.\d+(?:e-?\d+)?)/sprintf("%.3g", $1)/ge'; }
# Significant digits, as the program prints them.
fit_line() {
  jq -r '.fits[] | if .no_fit then "no fit: \(.no_fit)" else
    "fixed \(.per_call_ms) ms [\(.per_call_ms_ci[0]), \(.per_call_ms_ci[1])], per char \(.per_char_ms) ms [\(.per_char_ms_ci[0]), \(.per_char_ms_ci[1])], per byte \(.per_byte_ms), R^2 \(.r2)" +
    (if .clipped_from_bytes then "; past the canvas from \(.clipped_from_bytes) bytes" else "" end) end' "$1"
}
ratios() {
  jq -r '.results[] | select(.verdict != "baseline") |
    "  \(.call) \(.quality) (drawn \(.drawn_quality // "?")): ratio \(.ratio) [\(.ratio_low), \(.ratio_high)] \(.verdict)"' "$1"
}

for arch in $archs; do
  if [ "$arch" = i686 ] && ! scripts/wine-run.sh --runs-32bit; then
    echo "== i686: skipped, this kernel runs no 32-bit programs"
    continue
  fi
  cmake --preset "mingw-$arch" >/dev/null
  cmake --build --preset "mingw-$arch" --target ExtTextOutBenchCli >/dev/null
  cli() { scripts/wine-run.sh "build/$arch/ExtTextOutBenchCli.exe" --size 12 -r "$passes" --target "$target" "$@"; }
  echo "== $arch, $passes passes of ${target} s, $(load)"
  for face in "${faces[@]}"; do
    for kind in ascii japanese; do
      cli --face "$face" --text "${!kind}" --length "$lengths" --format json >"$out/fit.json"
      echo "$face, $kind text, lengths $lengths bytes: $(fit_line "$out/fit.json" | digits)"
    done
    cli --face "$face" --call ExtTextOutA,ExtTextOutW,GetTextExtentPoint32A --baseline ExtTextOutA \
      --format json >"$out/calls.json"
    echo "$face, against ExtTextOutA ($(jq -r '.results[0].median_ms' "$out/calls.json" | digits) ms a call):"
    ratios "$out/calls.json" | digits
    cli --face "$face" --quality default,nonantialiased,antialiased,cleartype --baseline default \
      --format json >"$out/quality.json"
    echo "$face, against quality default (drawn $(jq -r '.results[0].drawn_quality // "?"' "$out/quality.json")):"
    ratios "$out/quality.json" | digits
    cli --face "$face" --length 1,4,8,12,16,24,32,40,44,48 --format json >"$out/fit.json"
    jq -r '.fits[0] as $f | (.results[] | select(.length_bytes == 44)) as $d |
      "default text, 44 bytes: fitted \($f.at_text_length_ms) ms [\($f.at_text_length_ms_ci[0]), \($f.at_text_length_ms_ci[1])] over 1-48 bytes (R^2 \($f.r2)), measured \($d.median_ms) ms (min \($d.min_ms), max \($d.max_ms)): " +
      (if $d.median_ms >= $f.at_text_length_ms_ci[0] and $d.median_ms <= $f.at_text_length_ms_ci[1] then "inside" else "outside" end) +
      " the interval" + (if $f.clipped_from_bytes then "; past the canvas from \($f.clipped_from_bytes) bytes" else "" end)' "$out/fit.json" | digits
  done
  echo "($(load))"
done
