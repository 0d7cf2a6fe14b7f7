#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test:
# natively (ASan + UBSan) with a short fuzz run, and the Windows builds
# under Wine.
#   scripts/test.sh [ctest options]     e.g. -L fast: only the window-free and in-process tests
# ETB_FUZZ_SECONDS sets the fuzz time per target (3; 0 skips fuzzing).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh

logs="$root/build/logs"
mkdir -p "$logs"
# Runs a step in the background, its output kept for later.
pids=()
names=()
background() {
  local name=$1
  shift
  "$@" >"$logs/$name.log" 2>&1 &
  pids+=($!)
  names+=("$name")
}
# Waits for every background step; shows each one's output, and fails if one did.
collect() {
  local failed=0 i
  for i in "${!pids[@]}"; do
    if wait "${pids[$i]}"; then
      grep -E '^(fuzz:|[0-9]+% tests passed|Total Test time)' "$logs/${names[$i]}.log" || true
    else
      echo "== ${names[$i]} FAILED:" >&2
      tail -n 60 "$logs/${names[$i]}.log" >&2
      failed=1
    fi
  done
  pids=()
  names=()
  return "$failed"
}

# Every build at once, so the two cores stay busy through each one's serial steps.
for preset in native mingw-i686 mingw-x86_64; do
  cmake --preset "$preset" >/dev/null
  background "build-$preset" cmake --build --preset "$preset"
done
if [ "${ETB_FUZZ_SECONDS:-3}" != 0 ]; then background build-fuzz env ETB_FUZZ_BUILD_ONLY=1 bash scripts/fuzz.sh; fi
collect

# The window-free tests and the fuzzing run beside the Wine tests, which
# mostly wait on Wine.
fuzz_seconds=${ETB_FUZZ_SECONDS:-3}
native_steps() {
  ctest --preset native "$@"
  if [ "$fuzz_seconds" != 0 ]; then bash scripts/fuzz.sh "$fuzz_seconds"; fi
}
background native native_steps "$@"

status=0
if [ -n "${DISPLAY:-}" ]; then
  bash scripts/wine-tests.sh "$@" || status=$?
else
  xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/wine-tests.sh "$@" || status=$?
fi
collect || status=1
exit "$status"
