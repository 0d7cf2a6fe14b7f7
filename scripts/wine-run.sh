#!/usr/bin/env bash
# Runs a Windows program under Wine as the tests and the run command expect:
# the project's own prefix, a Japanese locale (ANSI code page 932), quiet
# logs, and an X display (a private Xvfb one when there is none).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts in a fresh prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
wine_loader() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo wine; else echo /usr/lib/wine/wine64; fi
}

# A new prefix is made once, under a lock, with windows left unmanaged: with
# no window manager (Xvfb) Wine would otherwise wait two seconds for one
# every time a window is hidden or destroyed.
if [ ! -f "$WINEPREFIX/.etb-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.etb-ready" ]; then
      "$(wine_loader)" wineboot -i >/dev/null 2>&1 || true
      printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' > "$WINEPREFIX/etb.reg"
      "$(wine_loader)" regedit "$WINEPREFIX/etb.reg" >/dev/null 2>&1
      touch "$WINEPREFIX/.etb-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# Some kernels run no 32-bit programs; the 64-bit loader still runs 64-bit ones.
exec "$(wine_loader)" "$@"
