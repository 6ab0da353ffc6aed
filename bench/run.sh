#!/usr/bin/env bash
# Builds the benchmarks and prints their tables; asserts nothing.
#   bench/run.sh [BUILD_ROOT]      (default: build; the native and win64 builds are used)
#
#  1. Open time: oktalon.exe started on a 1 KiB file and on a sparse 2 GiB - 16 file, in turns,
#     timed from its process start until its first line shows on cyan on the screen.
#  2. Reads per paint: ReadBlock calls of the hex view for a full repaint and for scroll steps.
#  3. Search: on one 1 GiB file in the page cache, for three patterns it does not hold, the
#     viewer's Find Next under Wine, the same scan natively, and `grep -c -F -a`, in rounds
#     (each round runs all three), compared by processor time and by elapsed time; and the
#     byte-at-a-time search (one length query, one seek and one read per offset) for
#     reference, per byte.
#
# Everything that needs Windows runs in one session of the Wine test bed (its own prefix under
# the build folder and a private X display). The generated files go into BUILD_ROOT/bench-data
# and are deleted at the end. Settings (environment): OKTALON_BENCH_PARTS (default
# "open paint search": which tables), OKTALON_BENCH_OPEN_RUNS (15), OKTALON_BENCH_ROUNDS (5),
# OKTALON_BENCH_RUNS_PER_ROUND (2), OKTALON_BENCH_BYTEWISE_SECONDS (8).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
self="$top/bench/run.sh"

parts=${OKTALON_BENCH_PARTS:-open paint search}
open_runs=${OKTALON_BENCH_OPEN_RUNS:-15}
rounds=${OKTALON_BENCH_ROUNDS:-5}
runs_per_round=${OKTALON_BENCH_RUNS_PER_ROUND:-2}
bytewise_seconds=${OKTALON_BENCH_BYTEWISE_SECONDS:-8}
search_size=$((1 << 30))
bytewise_size=$((16 << 20))
sparse_size=$(( (1 << 31) - 16 ))

# The search patterns: label, dialog mode, bytes in hex, description. None occurs in the file.
text_pattern="quick brown fox jumps"
text_hex=$(printf '%s' "$text_pattern" | od -An -tx1 -v | tr -d ' \n' | tr a-f A-F)
patterns=(
  "rare hex F73C915A0EC468B2 rare first byte: F7 3C 91 5A 0E C4 68 B2"
  "zero hex 00FFEEDD first byte 00: 00 FF EE DD"
  "text text $text_hex text: \"$text_pattern\""
)
bytewise_pattern=00FFEEDD

winpath() { local p=$1; echo "Z:${p//\//\\}"; }
field() { echo "$1" | cut -d' ' -f"$2"; }
wants() { [[ " $parts " == *" $1 "* ]]; }

# --- inside the test bed: the measurements -------------------------------------------------------
measure() {
  local root=$1 data=$2
  local exe="$root/win64/oktalon.exe" benches="$root/win64/bench"
  # One Wine server for the whole session: it does not shut down (and save the registry) in the
  # middle of a measurement when the last Windows program of a step has ended.
  wineserver -p

  if wants open; then
    echo
    wine "$benches/oktalon_open_bench.exe" "$(winpath "$exe")" "$open_runs" \
         "1 KiB=$(winpath "$data/small.bin")" "2 GiB - 16 (sparse)=$(winpath "$data/sparse.bin")" | tr -d '\r'
  fi
  if wants paint; then
    echo
    wine "$benches/oktalon_paint_bench.exe" | tr -d '\r'
  fi
  wants search || return 0

  # Search, in rounds: the native scan, grep and the viewer's scan one after another on the same
  # cached file, so that a busy moment of the machine falls on all three alike.
  local file="$data/search.bin" results="$data/search-results.txt" timer="$root/native/bench/oktalon_native_search_bench"
  local p label hex r
  : >"$results"
  cat "$file" >/dev/null
  local native_args=() wine_args=()
  for p in "${patterns[@]}"; do
    label=$(field "$p" 1) hex=$(field "$p" 3)
    native_args+=("$label=$hex")
    wine_args+=("$label:$(field "$p" 2):$hex")
    printf "$(echo "$hex" | sed 's/../\\x&/g')" >"$data/pattern-$label"
  done
  native_args+=(read=)
  run_native() { "$timer" scan "$file" "$runs_per_round" "${native_args[@]}" >>"$results"; }
  run_grep() {
    local p label i timing count
    for p in "${patterns[@]}"; do
      label=$(field "$p" 1)
      for ((i = 1; i <= runs_per_round; i++)); do
        timing=$("$timer" time "$data/grep-count" -- env LC_ALL=C grep -c -F -a -f "$data/pattern-$label" "$file")
        count=$(cat "$data/grep-count")
        echo "scan grep $label $timing $search_size $([ "$count" = 0 ] && echo -1 || echo "lines:$count")" >>"$results"
      done
    done
  }
  run_viewer() {
    wine "$benches/oktalon_search_bench.exe" scan "$(winpath "$file")" "$runs_per_round" "${wine_args[@]}" |
      tr -d '\r' >>"$results"
    sleep 0.5  # let the Windows program's ending settle before the next measurement
  }
  # Each round starts with another of the three, so that none always follows the same one.
  local order=(run_native run_grep run_viewer) step
  for ((r = 0; r < rounds; r++)); do
    for ((step = 0; step < 3; step++)); do
      ${order[(r + step) % 3]}
    done
  done
  wine "$benches/oktalon_search_bench.exe" bytewise "$(winpath "$data/bytewise.bin")" "$bytewise_seconds" \
       "zero:$bytewise_pattern" | tr -d '\r' >>"$results"

  echo
  local descriptions=""
  for p in "${patterns[@]}"; do
    descriptions+="$(field "$p" 1)|$(echo "$p" | cut -d' ' -f4-)"$'\n'
  done
  LC_ALL=C awk -v rounds="$rounds" -v runs="$runs_per_round" -v zeros="$(cat "$data/zeros")" \
               -v descriptions="$descriptions" '
    function median(list,   n, i, j, t, v) {
      n = split(list, v, " ")
      if (n == 0) return 0
      for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
      return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    # Seconds per scan: elapsed as the median, processor time as the mean (Wine counts it in
    # 10 ms ticks, which only a mean smooths out).
    function seconds(key, kind) { return kind == "cpu" ? (cpuRuns[key] ? cpuSum[key] / cpuRuns[key] : 0) : median(walls[key]) }
    function mbps(key, kind,   t) { t = seconds(key, kind); return t > 0 ? bytes[key] / 1e6 / t : 0 }
    function table(kind, title,   i, part, label, v, s, g) {
      printf "%s\n", title
      printf "  %-44s %13s %13s %13s %12s %12s\n", "pattern", "viewer (Wine)", "native scan", "grep -F", "viewer/grep", "native/grep"
      for (i = 1; i <= npatterns; i++) {
        split(lines[i], part, "|"); label = part[1]
        v = "wine " label; s = "native " label; g = "grep " label
        printf "  %-44s %8.0f MB/s %8.0f MB/s %8.0f MB/s %12.2f %12.2f\n", part[2], mbps(v, kind), mbps(s, kind),
               mbps(g, kind), seconds(v, kind) / seconds(g, kind), seconds(s, kind) / seconds(g, kind)
        if (slowest[kind] == "" || mbps(v, kind) < slowest[kind]) slowest[kind] = mbps(v, kind)
      }
      printf "  %-44s %13s %8.0f MB/s\n", "(reading alone: 1 MiB blocks, page-aligned)", "", mbps("native read", kind)
    }
    $1 == "scan" {
      key = $2 " " $3; walls[key] = walls[key] " " $4; cpuSum[key] += $5; cpuRuns[key]++; bytes[key] = $6
      if ($3 != "read" && $7 != "-1") found[$2 " " $3] = $7
    }
    $1 == "bytewise" { bwWall = $4; bwCpu = $5; bwPositions = $6; bwLength = $7 }
    END {
      n = split(descriptions, all, "\n")
      for (i = 1; i <= n; i++) if (all[i] != "") lines[++npatterns] = all[i]
      printf "Search: a 1 GiB file of mixed text and binary (%s%% zero bytes) in the page cache; no pattern occurs.\n", zeros
      printf "%d rounds, each running the three one after another, %d scans each. MB = 10^6 bytes.\n", rounds, runs
      printf "Ratios are times to grep'"'"'s: below 1 is faster than grep (the goal for the viewer: <= 1.0).\n"
      table("cpu", "Processor time (user + system; what a scan costs)")
      table("wall", "Elapsed time (median; on a busy machine it includes waiting for a processor)")
      for (key in found) printf "WARNING: %s found the pattern (%s)\n", key, found[key]
      if (bwPositions > 0) {
        printf "\nByte-at-a-time search for reference (Wine, CFile: length query + seek + read per offset), %d MiB file:\n", bwLength / 1048576
        printf "  %d offsets in %.1f s elapsed (%.1f s processor): %.3f MB/s elapsed, %.3f MB/s processor;\n",
               bwPositions, bwWall, bwCpu, bwPositions / 1e6 / bwWall, bwPositions / 1e6 / bwCpu
        printf "  the whole file would take %.0f s. The viewer'"'"'s scan is %.0fx faster by elapsed time, %.0fx by\n",
               bwWall / bwPositions * bwLength, slowest["wall"] / (bwPositions / 1e6 / bwWall), slowest["cpu"] / (bwPositions / 1e6 / bwCpu)
        printf "  processor time (slowest pattern; the goal: >= 1000x).\n"
      }
    }' "$results"
}

if [ "${1:-}" = --in-bed ]; then
  shift
  measure "$@"
  exit
fi

# --- outside: build, make the files, run the measurements in the test bed -----------------------
root=${1:-$top/build}
mkdir -p "$root"
root=$(cd "$root" && pwd)
bash "$top/scripts/install-deps.sh"
if [ ! -f "$root/native/build.ninja" ] || [ ! -f "$root/win64/build.ninja" ]; then
  bash "$top/scripts/configure.sh" "$root" || true
fi
[ -f "$root/native/build.ninja" ] && [ -f "$root/win64/build.ninja" ] || { echo "bench: cannot configure $root" >&2; exit 1; }
echo "== building the benchmarks"
build_log="$root/bench-build.log"
cmake --build "$root/native" --target oktalon_native_search_bench oktalon_bench_make_data >"$build_log" 2>&1 &&
  cmake --build "$root/win64" --target oktalon oktalon_open_bench oktalon_paint_bench oktalon_search_bench >>"$build_log" 2>&1 ||
  { cat "$build_log" >&2; exit 1; }

data="$root/bench-data"
rm -rf "$data"
mkdir -p "$data"
trap 'rm -rf "$data"' EXIT

echo "== making the files"
head -c 1024 "$root/win64/oktalon.exe" >"$data/small.bin"
truncate -s "$sparse_size" "$data/sparse.bin"
if wants search; then
  hexes=()
  for p in "${patterns[@]}"; do hexes+=("$(field "$p" 3)"); done
  "$root/native/bench/oktalon_bench_make_data" "$data/search.bin" "$search_size" "${hexes[@]}" | tee "$data/made.txt"
  sed -n 's/.*: \([0-9.]*\)% zero bytes.*/\1/p' "$data/made.txt" >"$data/zeros"
  "$root/native/bench/oktalon_bench_make_data" "$data/bytewise.bin" "$bytewise_size" "${hexes[@]}" >/dev/null
fi

echo "== measuring on $(nproc) CPUs ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')), load $(cut -d' ' -f1-3 /proc/loadavg);" \
     "$(grep -V | head -n1), $(wine --version 2>/dev/null)"
bash "$top/tests/winebed.sh" --bed "$root/win64/benchbed" --display --shell -- bash "$self" --in-bed "$root" "$data"
