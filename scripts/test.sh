#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test:
# natively (ASan + UBSan), then the Windows builds under Wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

# A short, bounded fuzz run of the window-free parsing and formatting.
bash scripts/fuzz.sh 5

for arch in i686 x86_64; do
  cmake --preset "mingw-$arch" >/dev/null
  cmake --build --preset "mingw-$arch"
done

# One display and one wineserver for every Wine test.
if [ -n "${DISPLAY:-}" ]; then
  bash scripts/wine-tests.sh
else
  xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/wine-tests.sh
fi
