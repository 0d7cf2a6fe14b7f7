#!/usr/bin/env bash
# Two commands run alternately, N times each, every run's JSON kept, then compared pair by pair
# with the console program's --compare: for two builds, two Wine installations or two settings
# of a machine, where both sides cannot be timed in one run. The pairs take turns at going
# first (A B, B A, A B, ...), so neither side gains from its place.
# Usage: scripts/alternate.sh N "command A" "command B" [--compare options...]
#   Each command writes the console program's --format json output to its standard output.
#   ETB_ALTERNATE_DIR: where the runs are kept (default build/alternate/<UTC date and time>)
#   ETB_COMPARE: the command that compares (default: the x86_64 build under scripts/wine-run.sh)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ $# -lt 3 ] || ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 N \"command A\" \"command B\" [--compare options...]" >&2
  exit 2
fi
n=$1 a=$2 b=$3
shift 3
out=${ETB_ALTERNATE_DIR:-$root/build/alternate/$(date -u +%Y%m%dT%H%M%SZ)}
mkdir -p "$out"
out=$(cd "$out" && pwd)
compare=${ETB_COMPARE:-"$root/scripts/wine-run.sh $root/build/x86_64/ExtTextOutBenchCli.exe"}

run() {  # side, command, pair number
  local file
  file=$(printf '%s/%s-%02d.json' "$out" "$1" "$3")
  if ! bash -c "$2" >"$file"; then
    echo "$0: command $1 failed in pair $3: $2" >&2
    exit 1
  fi
  if [ "$(head -c 1 "$file")" != "{" ]; then
    echo "$0: command $1 wrote no JSON (give it --format json): $file" >&2
    exit 1
  fi
  printf '%s' "$file"
}

olds=() news=()
for i in $(seq 1 "$n"); do
  printf '\rpair %d of %d' "$i" "$n" >&2
  if [ $((i % 2)) = 1 ]; then
    olds+=("$(run a "$a" "$i")"); news+=("$(run b "$b" "$i")")
  else
    news+=("$(run b "$b" "$i")"); olds+=("$(run a "$a" "$i")")
  fi
done
printf '\r%*s\r' 20 '' >&2
join() { local IFS=,; printf '%s' "$*"; }
echo "runs kept in $out" >&2
# shellcheck disable=SC2086  # the compare command is words
exec $compare --compare "$(join "${olds[@]}")" "$(join "${news[@]}")" "$@"
