#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan; preset "fuzz") and runs
# each for a bounded time, starting from its seeds in tests/fuzz/corpus.
# Usage: scripts/fuzz.sh [seconds per target, default 3] [target...]
# ETB_FUZZ_BUILD_ONLY=1 only builds them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

seconds="${1:-3}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(run_inputs number_format result_file)

build="${ETB_FUZZ_DIR:-$root/build/fuzz}"
mkdir -p "$build"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}" >"$build/build.log" 2>&1 || {
  cat "$build/build.log" >&2
  exit 1
}
[ -z "${ETB_FUZZ_BUILD_ONLY:-}" ] || exit 0

for t in "${targets[@]}"; do
  work="$build/runs/$t"
  mkdir -p "$work/corpus" "$work/artifacts"
  # What the run discovers goes to the scratch corpus; the seeds stay as they are.
  # A hang or an allocation out of all proportion to the input fails the run as a crash does.
  if ! "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -malloc_limit_mb=256 \
      -artifact_prefix="$work/artifacts/" \
      "$work/corpus" "tests/fuzz/corpus/$t" >"$work/log" 2>&1; then
    tail -n 40 "$work/log" >&2
    echo "fuzz: $t FAILED (input kept in $work/artifacts)" >&2
    exit 1
  fi
  echo "fuzz: $t: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$work/log" | tail -n 1 | sed 's/ second$/ s/'), no failure"
done
