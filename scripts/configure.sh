#!/usr/bin/env bash
# Configures the builds under one folder: native (clang, sanitizers, fuzz targets), win64 and
# win32 (mingw-w64 cross builds, Release), all three or the ones named.
# usage: scripts/configure.sh [BUILD_ROOT [native|win64|win32]...]   (default: build, all three)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
builds=(native win64 win32)
if [ $# -gt 1 ]; then builds=("${@:2}"); fi
mkdir -p "$root"
for build in "${builds[@]}"; do
  case "$build" in
    native) cmake -G Ninja -S "$top" -B "$root/native" -DCMAKE_BUILD_TYPE=Debug \
              -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null ;;
    win64) cmake -G Ninja -S "$top" -B "$root/win64" -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null ;;
    win32) cmake -G Ninja -S "$top" -B "$root/win32" -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake" >/dev/null ;;
    *) echo "configure.sh: no build named '$build' (native, win64, win32)" >&2; exit 2 ;;
  esac
done
echo "configured: ${builds[*]/#/$root/}"
