#!/usr/bin/env bash
# Installs what is missing, builds all three builds (native, win64, win32) and runs every test
# suite: the native unit tests and fuzz runs, then the Windows class, end-to-end and reliability
# suites under Wine for the x86-64 build and for the x86 build. Each suite's time is printed.
# usage: scripts/test-all.sh [BUILD_ROOT]   (default: build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
start=$(date +%s)

bash "$top/scripts/install-deps.sh"
bash "$top/scripts/configure.sh" "$root"

for build in native win64 win32; do
  echo "== building $build"
  build_start=$(date +%s)
  cmake --build "$root/$build" -- -k 0
  echo "== built $build in $(( $(date +%s) - build_start )) s"
done

# Whether this machine's kernel runs 32-bit x86 programs: a tiny one that only exits is tried.
runs_x86_programs() {
  local dir status=0
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' >"$dir/exit.s"
  as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" &&
    "$dir/exit" 2>/dev/null || status=1
  rm -rf "$dir"
  return $status
}

status=0
results=()
# run_suite LABEL CTEST_ARGS...: runs ctest, prints and records its time and outcome.
run_suite() {
  local label=$1 suite_start outcome=passed
  shift
  echo "== $label"
  suite_start=$(date +%s)
  ctest "$@" --output-on-failure || { outcome=FAILED; status=1; }
  results+=("$label: $outcome in $(( $(date +%s) - suite_start )) s")
}

run_suite "native unit tests (ASan + UBSan)" --test-dir "$root/native" -LE fuzz
run_suite "native fuzz runs" --test-dir "$root/native" -L fuzz
run_suite "x86-64 Windows suites under Wine" --test-dir "$root/win64"
if runs_x86_programs; then
  run_suite "x86 Windows suites under Wine" --test-dir "$root/win32"
else
  results+=("x86 Windows suites: skipped, this machine's kernel cannot run 32-bit programs")
  echo "== x86 Windows suites skipped: this machine's kernel cannot run 32-bit programs"
fi

echo "== summary"
printf '   %s\n' "${results[@]}"
echo "== all suites done in $(( $(date +%s) - start )) s; status $status"
exit $status
