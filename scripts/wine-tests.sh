#!/usr/bin/env bash
# The Windows builds' tests under Wine, on the display this is started on.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
export WINEPREFIX="$root/build/wineprefix"

# A persistent server keeps the prefix warm between test programs. Wine's
# background services start here, not under ctest, whose output pipes they
# would otherwise hold open.
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 || true  # makes the prefix once
/usr/lib/wine/wineserver64 -k 2>/dev/null || true
/usr/lib/wine/wineserver64 -p >/dev/null 2>&1 || true
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
trap '/usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT

ctest --preset mingw-x86_64
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  ctest --preset mingw-i686
else
  echo "NOTE: this kernel runs no 32-bit programs (ia32 emulation is off): the i686 build was made, its tests were not run."
fi
