#!/usr/bin/env bash
# Builds oktalon.exe (x86-64) and runs it under Wine on the given file, or with no file.
#   scripts/run.sh [FILE] [--screenshot OUT.png]
# With a display (DISPLAY set) the window opens there. Without one, or with --screenshot, the
# program runs on a private Xvfb display; --screenshot saves a PNG of the main window once it has
# painted, then ends the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${OKTALON_BUILD_ROOT:-$top/build}
file="" shot=""
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) shot="$2"; shift 2 ;;
    *) file="$1"; shift ;;
  esac
done

bash "$top/scripts/install-deps.sh"
if [ ! -f "$root/win64/build.ninja" ]; then
  bash "$top/scripts/configure.sh" "$root"
fi
cmake --build "$root/win64" --target oktalon
exe="$root/win64/oktalon.exe"
bed="$root/win64/winebed"

args=()
if [ -n "$file" ]; then
  [ -e "$file" ] && file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")
  # Wine maps the Unix root to drive Z:.
  case "$file" in /*) args+=("Z:${file//\//\\}") ;; *) args+=("$file") ;; esac
fi

if [ -z "$shot" ] && [ -n "${DISPLAY:-}" ]; then
  exec bash "$top/tests/winebed.sh" --bed "$bed" -- "$exe" "${args[@]}"
fi
[ -n "$shot" ] || shot="$top/oktalon-screenshot.png"
case "$shot" in /*) ;; *) shot="$PWD/$shot" ;; esac
exec bash "$top/tests/winebed.sh" --bed "$bed" --display --shell -- \
  bash "$top/scripts/screenshot.sh" "$shot" "$exe" "${args[@]}"
