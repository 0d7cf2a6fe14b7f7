#!/usr/bin/env bash
# Tests the release zips as a user meets them: each is built and its file list and imports checked,
# then it is unpacked into a fresh folder outside the build tree and started from there under Wine
# in a fresh prefix: the program once headless (as scripts/run.sh runs it), the console companion's
# --version and a small sweep. Where Wine runs no 32-bit programs (or ETB_WINE_64BIT_ONLY=1) the
# win32 zip is built and checked but not run, and the output says so.
#   scripts/package-test.sh      after configuring the mingw-i686 and mingw-x86_64 presets
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

version=$(sed -n 's/^project(ExtTextOutBench VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
commit=""
if [ -e .git ]; then commit=$(git rev-parse --short=7 HEAD); fi
# A user's folder may hold spaces.
work=$(mktemp -d)
unpacked="$work/Downloaded files"
export WINEPREFIX="$work/prefix"
etb_root=$root
. scripts/wine-env.sh
etb_wine_env || exit $?
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

failed=0
fail() {
  echo "package: FAILED: $*" >&2
  failed=1
}

# The zip's files, its programs' imports (only DLLs every Windows has) and their version resources.
check_zip() {
  local arch=$1 name=$2 zip=$3 listed expected exe dll
  listed=$(cmake -E tar tf "$zip" | sort)
  expected=$(printf "$name/%s\n" ExtTextOutBench.exe ExtTextOutBenchCli.exe LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt | sort)
  if [ "$listed" != "$expected" ]; then
    fail "$zip holds other files than it should; missing (<) and extra (>):"
    diff <(echo "$expected") <(echo "$listed") | grep '^[<>]' >&2 || true
  fi
  mkdir -p "$unpacked/$arch"
  (cd "$unpacked/$arch" && cmake -E tar xf "$zip")
  for exe in ExtTextOutBench.exe ExtTextOutBenchCli.exe; do
    [ -f "$unpacked/$arch/$name/$exe" ] || continue
    for dll in $("$arch-w64-mingw32-objdump" -p "$unpacked/$arch/$name/$exe" | sed -n 's/^\s*DLL Name: //p'); do
      case "${dll,,}" in
        kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll | advapi32.dll | shell32.dll) ;;
        *) fail "$name/$exe needs $dll, which Windows lacks" ;;
      esac
    done
    strings -e l "$unpacked/$arch/$name/$exe" | grep -A1 -x ProductVersion | grep -qx "$version" ||
      fail "$name/$exe: its version resource does not say $version"
  done
}

# Both programs started from the unpacked folder.
run_zip() {
  local arch=$1 name=$2 dir="$unpacked/$1/$2" log="$work/$1.log" line want recorded json
  if ETB_RUN_BUILT=1 ETB_RUN_HEADLESS=1 ETB_RUN_ARCH="$arch" ETB_BUILD_DIR="$dir" \
      ETB_DRIVER="$root/build/$arch/tools/etb_driver.exe" ETB_SCREENSHOT="$work/$arch.png" \
      timeout 300 bash scripts/run.sh >"$log" 2>&1 &&
      grep -q '^試行時間: ' "$log" && grep -q '^1回あたりの平均時間: ' "$log" &&
      [ "$(head -c 8 "$work/$arch.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; then
    echo "package $name: ExtTextOutBench.exe ran from the unpacked folder: $(grep '^1回あたりの平均時間: ' "$log")"
  else
    fail "$name: ExtTextOutBench.exe did not run from the unpacked folder:"
    tail -n 20 "$log" >&2
  fi

  # Built from a checkout, the commit (-dirty with changes not committed); from a tarball, none.
  want="ExtTextOutBenchCli $version"
  [ -z "$commit" ] || want+=" ($commit)"
  line=$(timeout 120 scripts/wine-run.sh "$dir/ExtTextOutBenchCli.exe" --version 2>&1 | tr -d '\r') || true
  if [ "$line" = "$want" ] || { [ -n "$commit" ] && [ "$line" = "${want%)}-dirty)" ]; }; then
    echo "package $name: $line"
  else
    fail "$name: --version printed \"$line\", not \"$want\""
  fi
  recorded=null
  [ -z "$commit" ] || recorded="\"$(sed -n 's/.*(\(.*\))$/\1/p' <<<"$line")\""

  if json=$(timeout 300 scripts/wine-run.sh "$dir/ExtTextOutBenchCli.exe" --size 9,12 --count 200 --repetitions 3 \
      --quiet --format json 2>"$log") && [ "$(grep -c '"median_ms"' <<<"$json")" = 2 ] &&
      grep -q "\"version\": \"$version\"" <<<"$json" &&
      grep -q "\"commit\": $recorded" <<<"$json"; then
    echo "package $name: ExtTextOutBenchCli.exe measured a sweep of two configurations"
  else
    fail "$name: the console companion's sweep did not write its two results with version and commit:"
    { tail -n 10 "$log"; head -c 2000 <<<"$json"; } >&2
  fi
}

for arch in i686 x86_64; do
  case $arch in i686) bits=32 ;; *) bits=64 ;; esac
  name="ExtTextOutBench-$version-win$bits"
  cmake --preset "mingw-$arch" >/dev/null
  cmake --build --preset "mingw-$arch" --target package >"$work/package-$arch.log" 2>&1 ||
    { fail "building $name.zip:"; tail -n 20 "$work/package-$arch.log" >&2; continue; }
  zip="$root/build/$arch/$name.zip"
  echo "package: $zip, $(stat -c %s "$zip") bytes"
  check_zip "$arch" "$name" "$zip"
done

# A fresh prefix, made and kept warm as the test scripts make the project's.
scripts/wine-run.sh --warm
"$WINESERVER" -p >/dev/null 2>&1 || true
runs32=0
scripts/wine-run.sh --runs-32bit || runs32=$?
[ "$runs32" -le 1 ] || exit "$runs32"  # no prefix: wine-run said why
for arch in i686 x86_64; do
  case $arch in i686) name="ExtTextOutBench-$version-win32" ;; *) name="ExtTextOutBench-$version-win64" ;; esac
  [ -d "$unpacked/$arch/$name" ] || continue
  if [ "$arch" = i686 ] && [ "$runs32" != 0 ]; then
    echo "NOTE: this Wine runs no 32-bit programs here (or ETB_WINE_64BIT_ONLY is set): $name.zip was built and its files checked, not run."
    continue
  fi
  run_zip "$arch" "$name"
done
exit "$failed"
