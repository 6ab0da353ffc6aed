#!/usr/bin/env bash
# Installs what is missing, builds all three builds (native, win64, win32) and runs every test
# suite: the native unit tests and fuzz runs, then the Windows unit and end-to-end tests under Wine.
# usage: scripts/test-all.sh [BUILD_ROOT]   (default: build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
start=$(date +%s)

bash "$top/scripts/install-deps.sh"
bash "$top/scripts/configure.sh" "$root"

for build in native win64 win32; do
  echo "== building $build"
  cmake --build "$root/$build" -- -k 0
done
echo "== win32 build linked: $(ls "$root/win32"/*.exe 2>/dev/null | xargs -n1 basename | tr '\n' ' ')"

status=0
echo "== native tests (ASan + UBSan) and fuzz runs"
ctest --test-dir "$root/native" --output-on-failure || status=1
echo "== Windows tests under Wine (x86-64)"
ctest --test-dir "$root/win64" --output-on-failure || status=1

echo "== all suites done in $(( $(date +%s) - start )) s; status $status"
exit $status
