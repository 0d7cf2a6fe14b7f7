#!/usr/bin/env bash
# Time from starting ExtTextOutBench.exe to its main window taking input
# (CreateProcess to WaitForInputIdle, the window found and answering), for
# five starts on a warm Wine prefix after one unmeasured start; prints the
# five figures and their median in milliseconds.
# ETB_BUILD_DIR overrides the build directory (the preset's by default).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

# The 32-bit build where this kernel runs 32-bit Wine, as scripts/run.sh.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=i686; else arch=x86_64; fi
build="${ETB_BUILD_DIR:-$root/build/$arch}"
cmake --preset "mingw-$arch" -B "$build" >/dev/null
cmake --build "$build" -j2 --target ExtTextOutBench etb_driver >/dev/null

# Warm: the prefix made, Wine's services running (and not holding our pipes).
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
scripts/wine-run.sh "$build/tools/etb_driver.exe" startup "$build/ExtTextOutBench.exe" >/dev/null

figures=()
for _ in 1 2 3 4 5; do
  figures+=("$(scripts/wine-run.sh "$build/tools/etb_driver.exe" startup "$build/ExtTextOutBench.exe" | tr -d '\r')")
done
echo "start to input-ready (ms): ${figures[*]}"
printf '%s\n' "${figures[@]}" | sort -g | sed -n 3p | sed 's/^/median (ms): /'
