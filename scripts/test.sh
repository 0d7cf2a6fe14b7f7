#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test:
# natively (ASan + UBSan) with a short fuzz run, and the Windows builds
# under Wine; builds every Windows target with clang too, and tests the
# release zips as a user meets them.
#   scripts/test.sh [ctest options]     e.g. -L fast: only the window-free and in-process tests
# ETB_FUZZ_SECONDS sets the fuzz time per target (3; 0 skips fuzzing);
# ETB_SMOKE=0 skips the two headless runs of scripts/run.sh and the zips' test at the end.
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
# The clang builds are only built: their warnings are errors.
for preset in native mingw-i686 mingw-x86_64 clang-mingw-i686 clang-mingw-x86_64; do
  cmake --preset "$preset" >/dev/null
  background "build-$preset" cmake --build --preset "$preset"
done
if [ "${ETB_FUZZ_SECONDS:-3}" != 0 ]; then background build-fuzz env ETB_FUZZ_BUILD_ONLY=1 bash scripts/fuzz.sh; fi
collect
# What -Werror does not cover: the linker's and the resource compiler's.
for arch in i686 x86_64; do
  if grep 'warning:' "$logs/build-clang-mingw-$arch.log" >&2; then
    echo "== clang-mingw-$arch: the build warned" >&2
    exit 1
  fi
  echo "clang-mingw-$arch: every Windows target built without a warning"
done

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

# The README's run command as a newcomer types it, headless: once as this
# machine runs it and once as a machine without 32-bit support would. Each
# must print a report entry and leave a PNG.
run_command() {
  local label=$1 log="$logs/run-$1.log" shot="$logs/run-$1.png"
  shift
  rm -f "$shot"
  if env -u DISPLAY "$@" ETB_SCREENSHOT="$shot" bash scripts/run.sh >"$log" 2>&1 &&
      grep -q '^試行時間: ' "$log" && grep -q '^1回あたりの平均時間: ' "$log" &&
      [ "$(head -c 8 "$shot" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; then
    echo "run.sh ($label): report entry printed, screenshot $shot"
  else
    echo "== run.sh ($label) FAILED:" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
}
if [ "${ETB_SMOKE:-1}" != 0 ]; then
  run_command as-this-machine-runs-it
  run_command 64-bit-only ETB_WINE_64BIT_ONLY=1
  env -u DISPLAY bash scripts/package-test.sh || status=1
fi

collect || status=1
exit "$status"
