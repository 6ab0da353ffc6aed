#!/usr/bin/env bash
# Builds oktalon.exe and runs it under Wine on the given file, or with no file.
#   scripts/run.sh [--x86] [--dpi DPI] [--screenshot OUT.png] [--] [FILE]
# --x86 (or OKTALON_ARCH=x86) runs the x86 build; the default is the x86-64 build. --dpi runs it
# on a display of that many dots an inch (144 for a display scaled to 150 %; default 96).
# With a display (DISPLAY set) the window opens there. Without one, or with --screenshot, the
# program runs on a private Xvfb display; --screenshot saves a PNG of the main window once it has
# painted, then ends the program. Any file name works, one that begins with a dash after "--".
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${OKTALON_BUILD_ROOT:-$top/build}
arch=${OKTALON_ARCH:-x64}
file="" have_file=0 shot="" dpi=96
usage() { echo "usage: scripts/run.sh [--x86] [--dpi DPI] [--screenshot OUT.png] [--] [FILE]" >&2; exit 2; }
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) [ $# -ge 2 ] || usage; shot="$2"; shift 2 ;;
    --x86) arch=x86; shift ;;
    --dpi) [ $# -ge 2 ] || usage; dpi="$2"; shift 2 ;;
    --help|-h) usage ;;
    --) shift; [ $# -le 1 ] || usage; [ $# -eq 0 ] || { file="$1"; have_file=1; }; shift $# ;;
    *) [ "$have_file" = 0 ] || usage; file="$1"; have_file=1; shift ;;
  esac
done
case "$arch" in
  x64) build=win64 ;;
  x86) build=win32 ;;
  *) echo "run.sh: OKTALON_ARCH is x64 or x86, not '$arch'" >&2; exit 2 ;;
esac

bash "$top/scripts/install-deps.sh"
if [ ! -f "$root/$build/build.ninja" ]; then
  bash "$top/scripts/configure.sh" "$root"
fi
cmake --build "$root/$build" --target oktalon
exe="$root/$build/oktalon.exe"
bed="$root/$build/winebed"

args=()
if [ "$have_file" = 1 ]; then
  # An absolute Wine name (Z:\...), so that no name reads as a switch.
  args+=("$(bash "$top/tests/winebed.sh" --winpath "$file")")
fi

if [ -z "$shot" ] && [ -n "${DISPLAY:-}" ]; then
  exec bash "$top/tests/winebed.sh" --bed "$bed" --dpi "$dpi" -- "$exe" "${args[@]}"
fi
[ -n "$shot" ] || shot="$top/oktalon-screenshot.png"
shot=$(realpath -m -- "$shot")
exec bash "$top/tests/winebed.sh" --bed "$bed" --display --dpi "$dpi" --shell -- \
  bash "$top/scripts/screenshot.sh" "$shot" "$exe" "${args[@]}"
