#!/usr/bin/env bash
# Fuzzes every fuzz target of the native build for a given time each (default 10 minutes), one
# after the other, then folds what each run found that reaches new coverage into the target's
# seed corpus in the repo (libFuzzer -merge=1 into tests/fuzz/corpus/<corpus>), so that the
# seeds grow by the few inputs that matter rather than by everything a run tried.
#
# usage: scripts/fuzz-deep.sh [SECONDS_PER_TARGET] [BUILD_ROOT] [TARGET...]
#   SECONDS_PER_TARGET  default 600
#   BUILD_ROOT          default build (configured by scripts/configure.sh)
#   TARGET...           default: every test labelled "fuzz" in BUILD_ROOT/native
# Extra libFuzzer options can be given in OKTALON_FUZZ_ARGS (e.g. "-timeout=10").
#
# The targets, their programs and their seed folders are taken from the native build's CTest
# tests (label "fuzz"), so new targets are picked up without changing this script. Each run's
# own corpus and any finding stay under BUILD_ROOT/native/fuzz-deep/<target>/. A summary table
# gives the executions, the coverage and the corpus growth per target. The exit code is 1 when
# any target found a fault (its reproducer is named), else 0.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
root=${2:-$top/build}
shift $(( $# > 2 ? 2 : $# ))
native="$root/native"
[ -f "$native/CMakeCache.txt" ] || { echo "fuzz-deep: $native is not configured (scripts/configure.sh)" >&2; exit 2; }
case "$seconds" in ''|*[!0-9]*) echo "fuzz-deep: seconds must be a whole number, not '$seconds'" >&2; exit 2 ;; esac

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(ctest --test-dir "$native" -N -L fuzz | sed -n 's/^ *Test *#[0-9]*: *//p')
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz-deep: no fuzz targets in $native" >&2; exit 2; }
cmake --build "$native" --target "${targets[@]}"

# The program and the seed folder of a target: the first and the last word of its CTest command.
command_of() {
  ctest --test-dir "$native" -L fuzz --show-only=json-v1 |
    jq -r --arg name "$1" '.tests[] | select(.name == $name) | .command | "\(.[0])\t\(.[-1])"'
}

work="$native/fuzz-deep"
summary=()
status=0
for target in "${targets[@]}"; do
  IFS=$'\t' read -r program seeds < <(command_of "$target")
  [ -x "$program" ] || { echo "fuzz-deep: no program for $target" >&2; exit 2; }
  mkdir -p "$seeds" "$work/$target/corpus" "$work/$target/artifacts"
  log="$work/$target/fuzz.log"
  before=$(find "$seeds" -type f | wc -l)
  echo "== $target: $seconds s, seeds $seeds ($before files)"
  # New inputs go into the run's own corpus (the first folder); the seeds are only read here.
  # shellcheck disable=SC2086
  "$program" -max_total_time="$seconds" -print_final_stats=1 \
             -artifact_prefix="$work/$target/artifacts/" ${OKTALON_FUZZ_ARGS:-} \
             "$work/$target/corpus" "$seeds" >"$log" 2>&1 || true
  # Fold back only what reaches coverage the seeds do not yet reach.
  "$program" -merge=1 "$seeds" "$work/$target/corpus" >"$work/$target/merge.log" 2>&1
  after=$(find "$seeds" -type f | wc -l)

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  cov=$(grep -a -o 'cov: [0-9]*' "$log" | tail -n1 | cut -d' ' -f2)
  features=$(grep -a -o 'ft: [0-9]*' "$log" | tail -n1 | cut -d' ' -f2)
  findings=$(find "$work/$target/artifacts" -type f | wc -l)
  if [ "$findings" -gt 0 ] || grep -aq '^==[0-9]*==ERROR\|^SUMMARY: \|deadly signal' "$log"; then
    status=1
    echo "fuzz-deep: $target FOUND A FAULT; see $log and $work/$target/artifacts/" >&2
    findings="$findings ($(find "$work/$target/artifacts" -type f | head -n1))"
  fi
  summary+=("$(printf '%-28s %14s %8s %10s %7s -> %-7s %s' "$target" "${runs:-?}" "${cov:-?}" \
                 "${features:-?}" "$before" "$after" "$findings")")
done

echo
printf '%-28s %14s %8s %10s %18s %s\n' target executions cov features "seed files" findings
printf '%s\n' "${summary[@]}"
exit $status
