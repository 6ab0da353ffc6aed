#!/usr/bin/env bash
# Installs what is missing, checks that every C++ file is formatted, builds all three builds
# (native, whose window-free sources clang-tidy checks as they compile; win64; win32) and runs
# every test suite: the native unit tests and fuzz runs, then the Windows class, end-to-end and
# reliability suites under Wine for the x86-64 build and for the x86 build (where the bed can run it:
# scripts/wine-loader.sh says why not in the one line that skips them). Each suite's time is
# printed.
# usage: scripts/test-all.sh [BUILD_ROOT]   (default: build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-$top/build}
start=$(date +%s)
source "$top/scripts/wine-loader.sh"

bash "$top/scripts/install-deps.sh"

echo "== checking the format of every C++ file (.clang-format)"
git -C "$top" ls-files -z '*.cpp' '*.h' | (cd "$top" && xargs -0 clang-format --dry-run --Werror) ||
  { echo "== unformatted C++ files (see above); format them with: clang-format -i FILE" >&2; exit 1; }

bash "$top/scripts/configure.sh" "$root"

for build in native win64 win32; do
  echo "== building $build"
  build_start=$(date +%s)
  cmake --build "$root/$build" -- -k 0
  echo "== built $build in $(( $(date +%s) - build_start )) s"
done

# counts BUILD_DIR: one line per test of the last ctest run there: its cases (GoogleTest), or its
# executions (libFuzzer); then "P F S" on the last line, the cases passed, failed and skipped (a
# test without cases counts as one).
counts() {
  awk '
    /^[0-9]+\/[0-9]+ Testing: / { name = $3; names[++n] = name; cases[name] = ""; failed[name] = 0 }
    /^\[==========\] [0-9]+ tests? from .* ran/ { cases[name] = $2 }
    /^\[  FAILED  \] [0-9]+ tests?[,.]/ { failed[name] = $4 }
    /^\[  SKIPPED \] [0-9]+ tests?[,.]/ { skipped[name] = $4 }
    /^Done [0-9]+ runs/ { runs[name] = $2 }
    /^Test Failed/ { if (!failed[name]) failed[name] = 1 }
    END {
      for (i = 1; i <= n; i++) {
        t = names[i]; c = (cases[t] == "") ? 1 : cases[t]
        detail = (cases[t] != "") ? cases[t] " cases" : (runs[t] != "") ? runs[t] " executions" : "1 check"
        printf "      %s: %s%s%s\n", t, detail, failed[t] ? ", " failed[t] " FAILED" : "",
               skipped[t] ? ", " skipped[t] " skipped" : ""
        passed += c - failed[t] - skipped[t]; fails += failed[t]; skips += skipped[t]
      }
      printf "%d %d %d\n", passed, fails, skips
    }' "$1/Testing/Temporary/LastTest.log"
}

logs="$root/test-logs"
rm -rf "$logs" && mkdir -p "$logs"

# suite NAME LABEL BUILD_DIR [CTEST_ARGS...]: runs ctest into logs/NAME.log and writes
# logs/NAME.result: "LABEL: outcome in N s", the counts, and "P F S" last.
suite() {
  local name=$1 label=$2 dir=$3 suite_start=$SECONDS outcome=passed
  shift 3
  ctest --test-dir "$dir" "$@" --output-on-failure >"$logs/$name.log" 2>&1 || outcome=FAILED
  { echo "$label: $outcome in $((SECONDS - suite_start)) s"; counts "$dir"; } >"$logs/$name.result"
  [ "$outcome" = passed ]
}

status=0 passed=0 failed=0 skipped=0
results=()
# report NAME...: prints each suite's log, and adds its result to the summary.
report() {
  local name p f s
  for name in "$@"; do
    echo "== $(head -n 1 "$logs/$name.result")"
    cat "$logs/$name.log"
    results+=("$(sed '$d' "$logs/$name.result")")
    read -r p f s <<<"$(tail -n 1 "$logs/$name.result")"
    passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
  done
}

suite native "native unit tests (ASan + UBSan)" "$root/native" -LE fuzz || status=1
suite fuzz "native fuzz runs" "$root/native" -L fuzz || status=1
report native fuzz

# The two Windows builds run side by side: each suite has its own Wine prefix and X display, and
# most of their time is spent waiting for windows.
x86_skipped=$(oktalon_wine64_only_reason)
if [ -z "$x86_skipped" ]; then
  echo "== x86-64 and x86 Windows suites under Wine, side by side"
  suite win64 "x86-64 Windows suites under Wine" "$root/win64" & win64=$!
  suite win32 "x86 Windows suites under Wine" "$root/win32" & win32=$!
  wait "$win64" || status=1
  wait "$win32" || status=1
  report win64 win32
else
  echo "== x86-64 Windows suites under Wine (64-bit loader alone)"
  suite win64 "x86-64 Windows suites under Wine" "$root/win64" || status=1
  report win64
  results+=("x86 Windows suites: skipped, $x86_skipped")
  echo "== x86 Windows suites skipped: $x86_skipped"
fi

echo "== summary"
printf '   %s\n' "${results[@]}"
echo "== all suites done in $(( $(date +%s) - start )) s; status $status"
echo "cases: $passed passed, $failed failed, $skipped skipped"
exit $status
