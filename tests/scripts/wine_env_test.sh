#!/usr/bin/env bash
# Which Wine loader the scripts pick, and what they say when none starts or
# the prefix cannot be made, with stand-in loaders: the machine without
# 32-bit support is played by a `wine` that fails as its kernel makes it fail.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0 failed=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAILED %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}

# A loader that starts, or one that fails as a 32-bit program does on a
# kernel without 32-bit support (the shell's own message and status).
loader() {
  mkdir -p "$(dirname "$1")"
  if [ "$2" = starts ]; then
    printf '#!/bin/sh\necho "$0 $*" >>"%s/calls"\n[ "$1" = wineboot ] && mkdir -p "$WINEPREFIX/drive_c/windows"\nexit 0\n' "$tmp" >"$1"
  else
    printf '#!/bin/sh\necho "%s: cannot execute binary file: Exec format error" >&2\nexit 126\n' "$1" >"$1"
  fi
  chmod +x "$1"
}

# Picks a loader in a clean shell whose PATH holds the stand-ins and the
# few tools the choice needs, none of this machine's own Wine.
mkdir -p "$tmp/tools"
for t in dirname readlink; do ln -s "$(command -v "$t")" "$tmp/tools/$t"; done
printf '#!/bin/sh\nexit 0\n' >"$tmp/tools/wineserver"
chmod +x "$tmp/tools/wineserver"
pick() {
  env -i PATH="$tmp/bin:$tmp/tools" ETB_WINE64_PLACES="$tmp/lib/wine64" "$@" \
    "$BASH" -c ". '$root/scripts/wine-env.sh'; etb_wine_env && echo \"\$WINELOADER\"" 2>&1
}

loader "$tmp/bin/wine" starts
loader "$tmp/lib/wine64" starts
check "a wine that starts is taken" "$tmp/bin/wine" "$(pick)"
check "the 64-bit-only switch takes the 64-bit loader" "$tmp/lib/wine64" "$(pick ETB_WINE_64BIT_ONLY=1)"
check "WINELOADER is taken as given" "/opt/x/wine" "$(pick WINELOADER=/opt/x/wine)"

loader "$tmp/bin/wine" fails
check "a wine that cannot start falls back to the 64-bit loader" "$tmp/lib/wine64" "$(pick)"

rm "$tmp/lib/wine64"
out=$(pick ETB_WINE64_PLACES=/nonexistent)
case "$out" in
  *"does not start here"*"no 64-bit Wine loader"*) check "no loader: one line names the cause" ok ok ;;
  *) check "no loader: one line names the cause" "a message naming the missing 64-bit loader" "$out" ;;
esac

# Making a prefix with a loader that dies at wineboot stops wine-run.sh,
# which names the step and the cause instead of failing later elsewhere.
loader "$tmp/broken" fails
out=$(env DISPLAY=:99 WINELOADER="$tmp/broken" WINESERVER=/bin/true WINEPREFIX="$tmp/prefix" \
  bash "$root/scripts/wine-run.sh" --warm 2>&1)
status=$?
check "a failed wineboot stops with its own status" 3 "$status"
case "$out" in
  *"'wineboot -i'"*"runs no 32-bit programs"*) check "a failed wineboot names its step and cause" ok ok ;;
  *) check "a failed wineboot names its step and cause" "wineboot and the 32-bit cause" "$out" ;;
esac

# A prefix made with a loader that starts gets Wine's fonts even when the
# loader lives where no fonts are beside it.
rm -f "$tmp/calls"
loader "$tmp/lib/wine/wine64" starts
mkdir -p "$tmp/fonts"
touch "$tmp/fonts/marlett.ttf" "$tmp/fonts/tahoma.ttf"
env DISPLAY=:99 WINELOADER="$tmp/lib/wine/wine64" WINESERVER=/bin/true WINEPREFIX="$tmp/prefix2" \
  ETB_WINE_FONTS="$tmp/fonts" bash "$root/scripts/wine-run.sh" --warm >/dev/null 2>&1
check "the prefix gets Wine's fonts" "$tmp/fonts/marlett.ttf" "$(readlink "$tmp/prefix2/drive_c/windows/Fonts/marlett.ttf")"
check "the 32-bit question is answered no under the switch" 1 \
  "$(env DISPLAY=:99 WINELOADER="$tmp/lib/wine/wine64" WINESERVER=/bin/true WINEPREFIX="$tmp/prefix2" \
    ETB_WINE_64BIT_ONLY=1 bash "$root/scripts/wine-run.sh" --runs-32bit >/dev/null 2>&1; echo $?)"

echo "wine scripts: $passed passed, $failed failed"
[ "$failed" = 0 ]
