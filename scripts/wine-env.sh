# Sourced by the scripts that start Wine. Picks a Wine loader that really
# starts on this machine, the server that goes with it and the project's
# prefix, and exports them (WINELOADER, WINESERVER, WINEPREFIX).
#   WINELOADER, WINESERVER   used as given
#   ETB_WINE_64BIT_ONLY=1    behave as on a kernel that runs no 32-bit
#                            programs: the 64-bit loader, its own prefix,
#                            no 32-bit tests
#   ETB_WINE64_PLACES        where to look for a 64-bit loader besides the PATH
# etb_wine_env fails with one line on stderr when no loader starts.

etb_root=${etb_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

# Where Debian's and Ubuntu's wine64 packages and WineHQ's builds put it.
: "${ETB_WINE64_PLACES:=/usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64 /opt/wine-stable/bin/wine64 /opt/wine-devel/bin/wine64 /opt/wine-staging/bin/wine64}"

etb_64bit_only() { [ -n "${ETB_WINE_64BIT_ONLY:-}" ] && [ "$ETB_WINE_64BIT_ONLY" != 0 ]; }

# A loader counts only when it starts: once wine32:i386 is installed,
# Debian's `wine` wrapper always takes the 32-bit loader, which a kernel
# without 32-bit support refuses ("Exec format error").
etb_starts() { [ -x "$1" ] && "$1" --version >/dev/null 2>&1 </dev/null; }

etb_find_loader() {
  local w
  if [ -n "${WINELOADER:-}" ]; then
    echo "$WINELOADER"
    return 0
  fi
  if ! etb_64bit_only && w=$(command -v wine) && etb_starts "$w"; then
    echo "$w"
    return 0
  fi
  for w in $(command -v wine64 || true) $ETB_WINE64_PLACES; do
    if etb_starts "$w"; then
      echo "$w"
      return 0
    fi
  done
  return 1
}

etb_why_no_loader() {
  local w
  if etb_64bit_only; then
    echo "no 64-bit Wine loader (wine64) was found, and ETB_WINE_64BIT_ONLY rules out the 32-bit one; install Debian's wine64 package or set WINELOADER"
  elif w=$(command -v wine); then
    echo "'$w' does not start here (a kernel that runs no 32-bit programs?) and no 64-bit Wine loader (wine64) was found; install Debian's wine64 package or set WINELOADER"
  else
    echo "no Wine on this machine; install Debian's wine and wine64 packages (bash scripts/setup.sh) or set WINELOADER"
  fi
}

# Wine's own fonts (Tahoma; Marlett draws the title-bar and menu symbols)
# where the fonts package puts them, which need not be beside the loader.
etb_wine_fonts() {
  local d
  for d in ${ETB_WINE_FONTS:-} "$(dirname "$(readlink -f "$WINELOADER")")/../share/wine/fonts" \
      /usr/share/wine/fonts /usr/local/share/wine/fonts /opt/wine-stable/share/wine/fonts; do
    if [ -f "$d/marlett.ttf" ]; then
      (cd "$d" && pwd)
      return 0
    fi
  done
  return 1
}

etb_wine_env() {
  local loader server
  if ! loader=$(etb_find_loader); then
    echo "wine: $(etb_why_no_loader)" >&2
    return 127
  fi
  export WINELOADER=$loader
  # The server of the same Wine build as the loader.
  server=${WINESERVER:-}
  [ -n "$server" ] || { [ -x "$(dirname "$loader")/wineserver" ] && server="$(dirname "$loader")/wineserver"; } ||
    server=$(command -v wineserver) || { echo "wine: no wineserver beside $loader or on the PATH" >&2; return 127; }
  export WINESERVER=$server
  if etb_64bit_only; then
    # A prefix of its own, made the way such a machine makes it.
    export WINEPREFIX="${WINEPREFIX:-$etb_root/build/wineprefix-64bit-only}"
  else
    export WINEPREFIX="${WINEPREFIX:-$etb_root/build/wineprefix}"
  fi
}
