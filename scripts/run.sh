#!/usr/bin/env bash
# Builds ExtTextOutBench.exe and starts it: directly on Windows, under Wine
# elsewhere. Without a display it runs headless instead: one run with the
# default settings, the report printed, and a screenshot of the three
# windows saved to build/screenshot.png (ETB_SCREENSHOT: elsewhere;
# ETB_RUN_MENU=1: with the report's system menu open).
# ETB_BUILD_DIR overrides the build directory (the preset's by default);
# ETB_DRIVER the window driver the headless run uses (the build's by default).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*) on_windows=1 ;;
  *) on_windows=0 ;;
esac

if [ -z "${ETB_RUN_BUILT:-}" ] && [ "$on_windows" = 0 ]; then
  if ! bash scripts/setup.sh; then
    echo "run: could not install what is missing; building with what is there" >&2
  fi
  # Which Wine starts here, said once and plainly, before anything is built.
  etb_root=$root
  . scripts/wine-env.sh
  etb_wine_env || exit $?
fi

# The 32-bit build is the primary one; some kernels cannot run 32-bit Wine.
if [ -n "${ETB_RUN_ARCH:-}" ]; then
  arch=$ETB_RUN_ARCH
elif [ "$on_windows" = 1 ]; then
  arch=i686
else
  runs32=0
  scripts/wine-run.sh --runs-32bit || runs32=$?
  case "$runs32" in
    0) arch=i686 ;;
    1) arch=x86_64
       echo "run: this Wine runs no 32-bit programs here (a kernel without 32-bit support, or ETB_WINE_64BIT_ONLY): running the 64-bit build" >&2 ;;
    *) exit "$runs32" ;;  # no Wine, or no prefix: wine-run said why
  esac
fi
build="${ETB_BUILD_DIR:-$root/build/$arch}"
exe="$build/ExtTextOutBench.exe"
driver="${ETB_DRIVER:-$build/tools/etb_driver.exe}"

headless=0
if [ -n "${ETB_RUN_HEADLESS:-}" ] || { [ "$on_windows" = 0 ] && [ -z "${DISPLAY:-}" ]; }; then headless=1; fi

if [ -z "${ETB_RUN_BUILT:-}" ]; then
  cmake --preset "mingw-$arch" -B "$build" >/dev/null
  targets=(ExtTextOutBench)
  [ "$headless" = 1 ] && targets+=(etb_driver)
  cmake --build "$build" -j2 --target "${targets[@]}"
fi

if [ "$on_windows" = 1 ]; then
  exec "$exe"
fi
if [ "$headless" = 0 ]; then
  exec scripts/wine-run.sh "$exe"
fi

if [ -z "${ETB_RUN_HEADLESS:-}" ]; then
  export ETB_RUN_BUILT=1 ETB_RUN_HEADLESS=1 ETB_BUILD_DIR="$build" ETB_RUN_ARCH="$arch"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

# On the private display: start Wine's services before anything whose output
# is read, so they do not hold it open.
scripts/wine-run.sh --warm
mkdir -p build
shot="${ETB_SCREENSHOT:-$root/build/screenshot.png}"
geometry_file=$(mktemp)
trap 'rm -f "$geometry_file"' EXIT

scripts/wine-run.sh "$driver" demo "$exe" 2>"$geometry_file"
geometry=$(sed -n 's/^windows: \([0-9x+]*\).*/\1/p' "$geometry_file" | tail -n 1)
# ETB_RUN_MENU=1 opens the report's system menu for the picture.
if [ -n "${ETB_RUN_MENU:-}" ]; then scripts/wine-run.sh "$driver" menu "レポート"; fi
sleep 0.5  # the last repaints
if [ -n "$geometry" ]; then
  import -window root -crop "$geometry" +repage "$shot"
else
  cat "$geometry_file" >&2
  import -window root "$shot"
fi
scripts/wine-run.sh "$driver" close
echo "screenshot: $shot"
