#!/usr/bin/env bash
# Runs a Windows program under Wine as the tests and the run command expect:
# the project's own prefix, a Japanese locale (ANSI code page 932), quiet
# logs, and an X display (a private Xvfb one when there is none).
#   scripts/wine-run.sh program.exe [arguments]
#   scripts/wine-run.sh --warm     makes the prefix if needed and starts Wine's
#                                  services, detached from the caller's output
#   scripts/wine-run.sh --runs-32bit   exit 0 where this Wine runs 32-bit
#                                  programs, 1 where not (a kernel without ia32
#                                  emulation); 3 when the prefix cannot be made
# scripts/wine-env.sh says which loader, server and prefix it takes.
set -euo pipefail
etb_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$etb_root/scripts/wine-env.sh"
etb_wine_env || exit $?
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts in a fresh prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

wine=$WINELOADER

# Says which step of making the prefix failed, and the likely cause.
prefix_failed() {
  local step=$1 log=$2 cause
  if grep -qi 'exec format error' "$log"; then
    cause="this kernel runs no 32-bit programs and $wine needs them; install wine64 or set WINELOADER to a 64-bit loader"
  else
    cause="$wine printed:"
  fi
  echo "wine-run: making the Wine prefix $WINEPREFIX failed at '$step': $cause" >&2
  grep -qi 'exec format error' "$log" || tail -n 15 "$log" >&2
  exit 3
}

# A new prefix is made once, under a lock. Windows stay unmanaged: with no
# window manager (Xvfb) Wine would otherwise wait two seconds for one every
# time a window is hidden or destroyed. Wine's own fonts are linked into the
# prefix's font folder, where Wine looks for them, since some packagings keep
# them apart.
ready="$WINEPREFIX/.etb-ready-3"
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      log="$WINEPREFIX.log"
      "$wine" wineboot -i >"$log" 2>&1 </dev/null || prefix_failed "wineboot -i" "$log"
      [ -d "$WINEPREFIX/drive_c/windows" ] || prefix_failed "wineboot -i (no drive_c/windows made)" "$log"
      printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' >"$WINEPREFIX/etb.reg"
      "$wine" regedit "$WINEPREFIX/etb.reg" >"$log" 2>&1 </dev/null || prefix_failed "regedit etb.reg" "$log"
      if fonts=$(etb_wine_fonts); then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        for font in "$fonts"/*; do
          ln -sf "$(readlink -f "$font")" "$WINEPREFIX/drive_c/windows/Fonts/"
        done
      else
        echo "wine-run: Wine's own fonts were not found (Debian's fonts-wine; or set ETB_WINE_FONTS): title bars and menus will lack their symbols" >&2
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
    # 0 yes, 1 no; other codes are failures said above.
    if etb_64bit_only; then exit 1; fi
    "$wine" 'C:\windows\syswow64\cmd.exe' /c exit 0 >/dev/null 2>&1 </dev/null || exit 1
    exit 0 ;;
esac
exec "$wine" "$@"
