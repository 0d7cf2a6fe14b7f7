#!/usr/bin/env bash
# Runs a Windows program under Wine as the tests and the run command expect:
# the project's own prefix, a Japanese locale (ANSI code page 932), quiet
# logs, and an X display (a private Xvfb one when there is none).
#   scripts/wine-run.sh program.exe [arguments]
#   scripts/wine-run.sh --warm     makes the prefix if needed and starts Wine's
#                                  services, detached from the caller's output
#   scripts/wine-run.sh --runs-32bit   succeeds where this Wine runs 32-bit
#                                  programs (not on kernels without ia32 emulation)
# WINELOADER and WINESERVER name Wine's programs; by default the `wine` and
# `wineserver` found on the PATH.
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

wine=${WINELOADER:-$(command -v wine || true)}
if [ -z "$wine" ]; then
  echo "wine-run: no wine on the PATH (or set WINELOADER)" >&2
  exit 127
fi

# A new prefix is made once, under a lock. Windows stay unmanaged: with no
# window manager (Xvfb) Wine would otherwise wait two seconds for one every
# time a window is hidden or destroyed. Wine's own fonts (Tahoma, Marlett for
# the title-bar and menu symbols, ...) are linked into the prefix's font
# folder, where Wine looks for them, since some packagings keep them apart.
ready="$WINEPREFIX/.etb-ready-2"
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      "$wine" wineboot -i >/dev/null 2>&1 || true
      printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' >"$WINEPREFIX/etb.reg"
      "$wine" regedit "$WINEPREFIX/etb.reg" >/dev/null 2>&1
      fonts="${ETB_WINE_FONTS:-$(dirname "$(readlink -f "$wine")")/../share/wine/fonts}"
      if [ -d "$fonts" ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        for font in "$fonts"/*; do
          ln -sf "$(readlink -f "$font")" "$WINEPREFIX/drive_c/windows/Fonts/"
        done
      else
        echo "wine-run: no Wine fonts in $fonts (set ETB_WINE_FONTS); title bars will lack their symbols" >&2
      fi
      touch "$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

case "${1:-}" in
  --warm)
    # Wine's services outlive this call; they must not hold the caller's pipes.
    "$wine" cmd /c exit 0 >/dev/null 2>&1 </dev/null || true
    exit 0 ;;
  --runs-32bit)
    exec "$wine" 'C:\windows\syswow64\cmd.exe' /c exit 0 >/dev/null 2>&1 </dev/null ;;
esac
exec "$wine" "$@"
