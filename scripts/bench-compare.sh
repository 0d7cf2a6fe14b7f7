#!/usr/bin/env bash
# How long the console program takes to compare two long sweeps, and how much
# memory it takes: two made-up JSON outputs of CONFIGS configurations of PASSES
# passes each, every pass with the machine reference beside it as a sweep keeps
# it, then --compare OLD NEW in each format, timed with wall seconds and peak
# resident memory. The Windows build runs under Wine (scripts/wine-run.sh), so
# its seconds include Wine's start (timed alone first); NATIVE=1 also builds the comparison for
# this host (Release, in build/bench-compare/native) and times it alike.
# Usage: [CONFIGS=100] [PASSES=60] [FORMATS="table csv json"] [NATIVE=1]
#        scripts/bench-compare.sh [program.exe]   (build/x86_64/ExtTextOutBenchCli.exe)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# One display for every run, not one each.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
exe=$(realpath "${1:-$root/build/x86_64/ExtTextOutBenchCli.exe}")
configs=${CONFIGS:-100}
passes=${PASSES:-60}
formats=${FORMATS:-table csv json}
out="$root/build/bench-compare"
mkdir -p "$out"
[ -f "$exe" ] || { echo "bench-compare: no $exe; build it with cmake --build --preset mingw-x86_64 --target ExtTextOutBenchCli" >&2; exit 2; }
if [ ! -x /usr/bin/time ]; then
  sudo=$([ "$(id -u)" = 0 ] || echo sudo)
  $sudo apt-get install -y time >/dev/null
fi

# The new run is 3% slower in every other configuration, the machine the same.
python3 - "$configs" "$passes" "$out" <<'EOF'
import json, random, sys
configs, passes, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
faces = ["Liberation Sans", "Liberation Serif", "IPAGothic", "IPAMincho", "DejaVu Sans"]
for name, seed in (("old", 1), ("new", 2)):
    rnd = random.Random(seed)
    rows = []
    for c in range(configs):
        base = 0.002 * (1 + c % 7) * (1.03 if name == "new" and c % 2 else 1)
        samples = [round(base * rnd.lognormvariate(0, 0.05), 9) for _ in range(passes)]
        rows.append({"face": faces[c % len(faces)], "size": 8 + c // len(faces), "bold": False,
                     "italic": False, "opaque": False, "median_ms": sorted(samples)[passes // 2],
                     "samples_ms": samples,
                     "reference_ms": [round(4 * rnd.lognormvariate(0, 0.03), 6) for _ in range(passes)]})
    context = {"program": "ExtTextOutBenchCli", "version": "bench", "architecture": "64-bit",
               "ansi_code_page": 932, "text": "The quick brown fox", "count": 1000,
               "machine_reference": "4 MiB scattered reads", "machine_reference_ms": []}
    with open(f"{out}/{name}.json", "w") as f:
        json.dump({"context": context, "results": rows}, f)
EOF

# Wall seconds and peak KB of one command, from /usr/bin/time.
timed() {
  /usr/bin/time -f '%e s %M KB' -o "$out/time" "$@" >"$out/output" 2>"$out/errors" ||
    { echo "bench-compare: $* failed:" >&2; cat "$out/errors" >&2; exit 1; }
  tail -n 1 "$out/time"
}

# The same under Wine, which starts the program in a process outside the caller's tree:
# its peak is read from /proc while it runs (as VmHWM, the high-water mark).
wine_timed() {
  local peak=0 pid hwm runner
  /usr/bin/time -f '%e' -o "$out/time" "$root/scripts/wine-run.sh" "$@" >"$out/output" 2>"$out/errors" &
  runner=$!
  while [ -d "/proc/$runner" ]; do
    for pid in $(pgrep -f "^[A-Za-z]:.*$(basename "$exe") --compare $out/old.json" || true); do
      hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
      [ -n "$hwm" ] && [ "$hwm" -gt "$peak" ] && peak=$hwm
    done
    sleep 0.05
  done
  wait "$runner" || { echo "bench-compare: $* failed under Wine:" >&2; cat "$out/errors" >&2; exit 1; }
  echo "$(tail -n 1 "$out/time") s $peak KB"
}

echo "$configs configurations x $passes passes, machine reference beside each pass"
# Wine's services start here, not in the first figure.
"$root/scripts/wine-run.sh" --warm
echo "wine, $exe (seconds with Wine's start, the program's own peak):"
echo "  wine itself (cmd /c exit): $(timed "$root/scripts/wine-run.sh" cmd /c exit 0 | cut -d' ' -f1-2)"
for format in $formats; do
  echo "  --format $format: $(wine_timed "$exe" --compare "$out/old.json" "$out/new.json" --format "$format")"
done

[ -n "${NATIVE:-}" ] && [ "$NATIVE" != 0 ] || exit 0
# The comparison as main.cpp draws it, on the window-free libraries.
native="$out/native"
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DETB_TESTS=OFF >"$native.log" 2>&1 &&
  cmake --build "$native" -j2 --target etb_cli >>"$native.log" 2>&1 ||
  { cat "$native.log" >&2; exit 1; }
cat >"$native/compare.cpp" <<'EOF'
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/chart/Plot.h"
#include "cli/compare/Compare.h"
#include "cli/output/Reports.h"

int main(int argc, char** argv) {
    RunResults files[2];
    for (int i = 0; i < 2; ++i) {
        std::ifstream in(argv[1 + i], std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        std::optional<RunResults> file = ReadResults(text.str(), error);
        if (!file) return std::cerr << argv[1 + i] << ": " << error << "\n", 1;
        files[i] = *file;
    }
    const Comparisons compared = CompareFiles(files[0], files[1], 0.02, false);
    for (const std::string& line : CompareWarnings(files[0], files[1], compared, false)) std::cerr << line << "\n";
    const std::string format = argv[3];
    const NamedFile before{argv[1], files[0]}, after{argv[2], files[1]};
    std::cout << (format == "csv" ? CompareCsv(compared) : format == "json" ? CompareJson(before, after, compared)
                                                                          : CompareTable(before, after, compared));
    std::cerr << "chart: " << CompareChart(compared).size() << " bytes\n";  // drawn as the program draws it
}
EOF
g++ -O2 -std=c++17 -DJSON_DIAGNOSTICS=1 -I"$root/src" "$native/compare.cpp" -o "$native/compare" \
  "$native/libetb_cli.a" "$native/libetb_benchmark_logic.a" "$native/libetb_platform_logic.a"
echo "native, $native/compare:"
for format in $formats; do
  echo "  --format $format: $(timed "$native/compare" "$out/old.json" "$out/new.json" "$format")"
done
