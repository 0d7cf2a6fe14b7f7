#!/usr/bin/env bash
# The Windows builds' tests under Wine, on the display this is started on.
#   scripts/wine-tests.sh [ctest options]     e.g. -L fast
# The 32-bit build's tests run where this Wine runs 32-bit programs; the
# output says so when it cannot.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
etb_root=$root
. scripts/wine-env.sh
etb_wine_env || exit $?
mkdir -p "$(dirname "$WINEPREFIX")"
wineserver=$WINESERVER

# One test run per prefix at a time: a second one would otherwise kill the
# server, and with it the programs, of the first.
exec 8>"$WINEPREFIX.tests.lock"
if ! flock -n 8; then
  echo "wine-tests: another test run uses $WINEPREFIX; waiting for it" >&2
  flock 8
fi

# A persistent server keeps the prefix warm between test programs; it goes
# with this script, whichever way the script ends.
trap '"$wineserver" -k 2>/dev/null || true' EXIT
scripts/wine-run.sh --warm  # makes the prefix once
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
"$wineserver" -p >/dev/null 2>&1 || true
scripts/wine-run.sh --warm  # Wine's services, outside ctest's output pipes

ctest --preset mingw-x86_64 "$@"
if [ ! -f build/i686/CTestTestfile.cmake ]; then
  echo "NOTE: no i686 build (cmake --preset mingw-i686): its tests were not run."
elif scripts/wine-run.sh --runs-32bit; then
  ctest --preset mingw-i686 "$@"
elif etb_64bit_only; then
  echo "NOTE: ETB_WINE_64BIT_ONLY is set, so this run behaves as on a kernel without 32-bit support: the i686 build was made, its tests were not run."
else
  echo "NOTE: this Wine runs no 32-bit programs here (a kernel without ia32 emulation, or no 32-bit Wine): the i686 build was made, its tests were not run."
fi
