#!/usr/bin/env bash
# Configures the three builds under one folder: native (clang, sanitizers, fuzz targets),
# win64 and win32 (mingw-w64 cross builds).
# usage: scripts/configure.sh [BUILD_ROOT]   (default: build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
mkdir -p "$root"
cmake -G Ninja -S "$top" -B "$root/native" -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake -G Ninja -S "$top" -B "$root/win64" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake -G Ninja -S "$top" -B "$root/win32" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake" >/dev/null
echo "configured: $root/{native,win64,win32}"
