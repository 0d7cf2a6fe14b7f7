#!/usr/bin/env bash
# Non-blank, non-comment lines of C/C++ and CMake in src/, tests/, tools/ and
# bench/, per folder and per subfolder, and the ratios the project keeps:
# tests/ at most 0.35 of src/, tests/ + tools/ + bench/ at most 0.6.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# Lines of the files given, without blank lines, // and /* */ comments
# (C/C++) or # comments (CMake).
count() {
  [ $# -gt 0 ] || { echo 0; return; }
  awk '
    FNR == 1 { cmake = FILENAME ~ /(CMakeLists\.txt|\.cmake)$/; block = 0 }
    {
      line = $0
      if (cmake) { sub(/^[ \t]*#.*/, "", line) }
      else {
        out = ""
        while (line != "") {
          if (block) {
            at = index(line, "*/"); if (!at) { line = ""; break }
            line = substr(line, at + 2); block = 0
          } else {
            at = index(line, "/*"); sl = index(line, "//")
            if (sl && (!at || sl < at)) { out = out substr(line, 1, sl - 1); line = ""; break }
            if (!at) { out = out line; line = ""; break }
            out = out substr(line, 1, at - 1); line = substr(line, at + 2); block = 1
          }
        }
        line = out
      }
      if (line ~ /[^ \t\r]/) n++
    }
    END { print n + 0 }' "$@"
}

files() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.h' -o -name '*.hpp' \
    -o -name 'CMakeLists.txt' -o -name '*.cmake' \) 2>/dev/null | sort
}

lines() {
  local list
  mapfile -t list < <(files "$@")
  count "${list[@]}"
}

declare -A total
for dir in src tests tools bench; do
  total[$dir]=$(lines "$dir")
  printf '%-28s %6d\n' "$dir/" "${total[$dir]}"
  for sub in "$dir"/*/; do
    [ -d "$sub" ] && printf '  %-26s %6d\n' "$sub" "$(lines "$sub")"
  done
  if [ "$dir" = tests ]; then
    printf '  %-26s %6d\n' "tests/CMakeLists.txt" "$(count tests/CMakeLists.txt)"
  fi
done

src=${total[src]}
ratio() { awk -v a="$1" -v b="$src" 'BEGIN { printf "%.3f", b ? a / b : 0 }'; }
echo
echo "tests / src:                  $(ratio "${total[tests]}")   (at most 0.35)"
echo "(tests + tools + bench) / src: $(ratio $((total[tests] + total[tools] + total[bench])))   (at most 0.6)"
