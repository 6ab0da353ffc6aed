#!/usr/bin/env bash
# Builds the benchmarks and prints their tables; asserts nothing.
#   bench/run.sh [BUILD_ROOT]      (default: build; the native, win64 and win32 builds are used)
#
#  1. Open time: oktalon.exe (of each build) started on a 1 KiB file, on a sparse 2 GiB - 16 file
#     and on the longest sparse file the file system holds (ext4: just under 16 TiB), in turns,
#     timed from its process start until its first line shows on cyan on the screen.
#  2. Reads per paint: ReadBlock calls of the hex view for a full repaint and for scroll steps.
#  3. Search: two 1 GiB files in the page cache, random bytes and mixed text and binary (about a
#     third zero bytes), each with a 16-byte pattern that it does not hold (for the mixed file
#     one led by 00); and two sparse files, of 1 GiB and of 16 GiB, whose bytes the system makes
#     up as it reads them, to show the same speed at both sizes. In rounds, each running every
#     contender once per file in a rotating order:
#     the viewer's Find Next under Wine in the x64 and the x86 build, the same scan natively,
#     `grep -c -F -a` and `cat >/dev/null`; the median elapsed times and their ratios. Then
#     the byte-at-a-time search (one length query, one seek and one read per offset) for
#     reference, per byte.
#
# Everything that needs Windows runs in one session of the Wine test bed (its own prefix under
# the build folder and a private X display). The generated files go into BUILD_ROOT/bench-data
# and are deleted at the end. Settings (environment): OKTALON_BENCH_PARTS (default
# "open paint search": which tables), OKTALON_BENCH_BUILDS ("win64 win32": the viewers that the
# search table times), OKTALON_BENCH_OPEN_RUNS (15), OKTALON_BENCH_ROUNDS (3),
# OKTALON_BENCH_RUNS_PER_ROUND (1), OKTALON_BENCH_BYTEWISE_SECONDS (8).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
self="$top/bench/run.sh"

parts=${OKTALON_BENCH_PARTS:-open paint search}
builds=${OKTALON_BENCH_BUILDS:-win64 win32}
open_runs=${OKTALON_BENCH_OPEN_RUNS:-15}
rounds=${OKTALON_BENCH_ROUNDS:-3}
runs_per_round=${OKTALON_BENCH_RUNS_PER_ROUND:-1}
bytewise_seconds=${OKTALON_BENCH_BYTEWISE_SECONDS:-8}
bytewise_size=$((16 << 20))
sparse_size=$(( (1 << 31) - 16 ))

# The searched files: label, how it is made (a generator option, or sparse), its size, the
# absent pattern in hex, and whether grep searches it. grep holds a whole line in memory, and a
# file of zeros is one line: at 16 GiB the system ends grep for want of memory, and the page
# cache it emptied on the way would slow whichever contender came next.
datasets=(
  "random --noise $((1 << 30)) 8D3A5F0C91E27B44C0196AD27E53B8F1 grep"
  "zeros - $((1 << 30)) 00000000010000002E74657874000000 grep"
  "sparse1g sparse $((1 << 30)) 8D3A5F0C91E27B44C0196AD27E53B8F1 grep"
  "sparse16g sparse $((16 << 30)) 8D3A5F0C91E27B44C0196AD27E53B8F1 no-grep"
)
bytewise_pattern=00FFEEDD

winpath() { bash "$top/tests/winebed.sh" --winpath "$1"; }
field() { echo "$1" | cut -d' ' -f"$2"; }
wants() { [[ " $parts " == *" $1 "* ]]; }

# --- inside the test bed: the measurements -------------------------------------------------------
measure() {
  local root=$1 data=$2
  local benches="$root/win64/bench"
  # One Wine server for the whole session: it does not shut down (and save the registry) in the
  # middle of a measurement when the last Windows program of a step has ended.
  "$WINESERVER" -p

  if wants open; then
    local viewer
    for viewer in $builds; do
      echo
      echo "oktalon.exe of the $viewer build:"
      "$WINELOADER" "$benches/oktalon_open_bench.exe" "$(winpath "$root/$viewer/oktalon.exe")" "$open_runs" \
           "1 KiB=$(winpath "$data/small.bin")" "2 GiB - 16 (sparse)=$(winpath "$data/sparse.bin")" \
           "longest sparse=$(winpath "$data/longest.bin")" | tr -d '\r'
    done
    echo "(longest sparse: $(cat "$data/longest-size") bytes, the longest file this file system holds)"
  fi
  if wants paint; then
    echo
    "$WINELOADER" "$benches/oktalon_paint_bench.exe" | tr -d '\r'
  fi
  wants search || return 0

  # Search, in rounds: every contender once per file, one after another on the same cached
  # files, so that a busy moment of the machine falls on all of them alike.
  local results="$data/search-results.txt" timer="$root/native/bench/oktalon_native_search_bench"
  local d label hex file r step build
  : >"$results"
  for d in "${datasets[@]}"; do cat "$data/$(field "$d" 1).bin" >/dev/null; done
  run_cat() {
    for d in "${datasets[@]}"; do
      label=$(field "$d" 1)
      echo "scan cat $label $("$timer" time /dev/null -- cat "$data/$label.bin") $(field "$d" 3) -1" >>"$results"
    done
  }
  run_grep() {
    local timing count
    for d in "${datasets[@]}"; do
      [ "$(field "$d" 5)" = grep ] || continue
      label=$(field "$d" 1)
      timing=$("$timer" time "$data/grep-count" -- env LC_ALL=C grep -c -F -a -f "$data/pattern-$label" "$data/$label.bin")
      count=$(cat "$data/grep-count")
      case $count in
        0) echo "scan grep $label $timing $(field "$d" 3) -1" >>"$results" ;;
        '') echo "WARNING: grep on $label printed no count (it failed); this run is left out" >&2 ;;
        *) echo "scan grep $label $timing $(field "$d" 3) lines:$count" >>"$results" ;;
      esac
    done
  }
  # Natively also with each way of finding candidates, to show what each is worth.
  run_native() {
    local filter
    for d in "${datasets[@]}"; do
      label=$(field "$d" 1)
      "$timer" scan "$data/$label.bin" "$runs_per_round" "$label=$(field "$d" 4)" >>"$results"
      for filter in plain sse2 avx2; do
        "$timer" scan "$data/$label.bin" 1 --filter=$filter "$label=$(field "$d" 4)" 2>/dev/null |
          sed "s/^scan native /scan native-$filter /" >>"$results" || true
      done
    done
  }
  run_viewers() {
    for build in $builds; do
      for d in "${datasets[@]}"; do
        label=$(field "$d" 1)
        "$WINELOADER" "$root/$build/bench/oktalon_search_bench.exe" scan "$(winpath "$data/$label.bin")" "$runs_per_round" \
             "$label:hex:$(field "$d" 4)" | tr -d '\r' |
          sed "s/^scan wine-plain /scan $build-plain /; s/^scan wine-fixed /scan $build-fixed /; s/^scan wine /scan $build /" >>"$results"
        sleep 0.5  # let the Windows program's ending settle before the next measurement
      done
    done
  }
  # Each round starts with another contender, so that none always follows the same one.
  local order=(run_cat run_grep run_native run_viewers)
  for ((r = 0; r < rounds; r++)); do
    for ((step = 0; step < ${#order[@]}; step++)); do
      ${order[(r + step) % ${#order[@]}]}
    done
  done
  "$WINELOADER" "$root/win64/bench/oktalon_search_bench.exe" bytewise "$(winpath "$data/bytewise.bin")" "$bytewise_seconds" \
       "zero:$bytewise_pattern" | tr -d '\r' >>"$results"

  echo
  LC_ALL=C awk -v rounds="$rounds" -v runs="$runs_per_round" -v zeros="$(cat "$data/zeros")" -v builds="$builds" '
    function median(list,   n, i, j, t, v) {
      n = split(list, v, " ")
      if (n == 0) return 0
      for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
      return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    # Elapsed seconds as the median; processor seconds as the mean (Wine counts them in 10 ms
    # ticks, which only a mean smooths out).
    function wall(key) { return median(walls[key]) }
    function cpu(key) { return cpuRuns[key] ? cpuSum[key] / cpuRuns[key] : 0 }
    function ratio(a, b) { return b > 0 ? a / b : 0 }
    function row(name, source, label,   v, g, c) {
      v = source " " label; g = "grep " label; c = "cat " label
      printf "  %-6s %-36s %7.3f s %6.0f MB/s %9s %7.3f s %11s %10.2f %10.2f\n", name, descriptions[label],
             wall(v), ratio(bytes[v] / 1e6, wall(v)), walls[g] == "" ? "-" : sprintf("%7.3f s", wall(g)), wall(c),
             walls[g] == "" ? "-" : sprintf("%.2f", ratio(wall(v), wall(g))), ratio(wall(v), wall(c)), ratio(cpu(v), cpu(c))
      if (source != "native" && (slowest == "" || ratio(bytes[v] / 1e6, wall(v)) < slowest)) slowest = ratio(bytes[v] / 1e6, wall(v))
    }
    $1 == "scan" {
      key = $2 " " $3; walls[key] = walls[key] " " $4; cpuSum[key] += $5; cpuRuns[key]++; bytes[key] = $6
      if ($7 != "-1") found[key] = $7
    }
    $1 == "bytewise" { bwWall = $4; bwCpu = $5; bwPositions = $6; bwLength = $7 }
    END {
      descriptions["random"] = "random bytes"
      descriptions["zeros"] = sprintf("%s %% zeros, pattern led by 00", zeros)
      descriptions["sparse1g"] = "1 GiB sparse (zeros)"
      descriptions["sparse16g"] = "16 GiB sparse (zeros)"
      names["win64"] = "x64"; names["win32"] = "x86"
      printf "Search: 1 GiB in the page cache, and sparse files of 1 and 16 GiB, an absent 16-byte pattern;\n"
      printf "%d rounds, each running every\n", rounds
      printf "contender %d time(s) per file; elapsed times are medians. MB = 10^6 bytes. Goal for the\n", runs
      printf "viewer: viewer/grep <= 1.0 and viewer/cat <= 1.4.\n"
      printf "  %-6s %-36s %18s %9s %9s %11s %10s %10s\n", "build", "data", "viewer (Wine)", "grep -F", "cat",
             "viewer/grep", "viewer/cat", "(cpu)"
      n = split(builds, list, " ")
      for (i = 1; i <= n; i++) {
        row(names[list[i]] != "" ? names[list[i]] : list[i], list[i], "random")
        row(names[list[i]] != "" ? names[list[i]] : list[i], list[i], "zeros")
        row(names[list[i]] != "" ? names[list[i]] : list[i], list[i], "sparse1g")
        row(names[list[i]] != "" ? names[list[i]] : list[i], list[i], "sparse16g")
      }
      row("native", "native", "random")
      row("native", "native", "zeros")
      row("native", "native", "sparse1g")
      row("native", "native", "sparse16g")
      printf "  GB/s of the scan at 16 GiB against 1 GiB (sparse; the same speed at any size is 1.00):"
      for (i = 1; i <= n; i++)
        printf " %s %.2f;", names[list[i]] != "" ? names[list[i]] : list[i],
               ratio(ratio(bytes[list[i] " sparse16g"], wall(list[i] " sparse16g") - wall(list[i] "-fixed sparse16g")),
                     ratio(bytes[list[i] " sparse1g"], wall(list[i] " sparse1g") - wall(list[i] "-fixed sparse1g")))
      printf " cat %.2f\n", ratio(ratio(bytes["cat sparse16g"], wall("cat sparse16g")), ratio(bytes["cat sparse1g"], wall("cat sparse1g")))
      printf "  Find Next with its progress checks against the same scan without them, elapsed (processor) time,\n"
      printf "  the cost of the command besides its scan (routing, the \"not found\" box; timed on the last two lines)\n"
      printf "  taken off; goal <= 1.05 at 1 GiB. The 16 GiB scans outlast half a second, so their progress\n"
      printf "  window shows and messages are handled:\n"
      for (i = 1; i <= n; i++) {
        b = list[i]
        printf "    %s (besides the scan %.1f ms):", names[b] != "" ? names[b] : b, 1000 * wall(b "-fixed random")
        split("random zeros sparse1g sparse16g", sets, " ")
        for (j = 1; j <= 4; j++)
          printf " %s %.3f (%.3f);", sets[j],
                 ratio(wall(b " " sets[j]) - wall(b "-fixed " sets[j]), wall(b "-plain " sets[j])),
                 ratio(cpu(b " " sets[j]) - cpu(b "-fixed " sets[j]), cpu(b "-plain " sets[j]))
        printf "\n"
      }
      printf "  (native: the same scan built for Linux, reading with pread; (cpu): ratio of mean processor times)\n"
      printf "  native scan by candidate filter, elapsed time as a multiple of cat'"'"'s (random, zeros):"
      split("plain sse2 avx2", filters, " ")
      for (i = 1; i <= 3; i++) {
        f = "native-" filters[i]
        if (walls[f " random"] != "")
          printf " %s %.2f, %.2f;", filters[i], ratio(wall(f " random"), wall("cat random")), ratio(wall(f " zeros"), wall("cat zeros"))
      }
      printf "\n"
      for (key in found) printf "WARNING: %s found the pattern (%s)\n", key, found[key]
      if (bwPositions > 0) {
        printf "\nByte-at-a-time search for reference (Wine, CFile: length query + seek + read per offset), %d MiB file:\n", bwLength / 1048576
        printf "  %d offsets in %.1f s elapsed (%.1f s processor): %.3f MB/s elapsed, %.3f MB/s processor;\n",
               bwPositions, bwWall, bwCpu, bwPositions / 1e6 / bwWall, bwPositions / 1e6 / bwCpu
        printf "  the whole file would take %.0f s. The viewer'"'"'s scan is %.0fx faster by elapsed time\n",
               bwWall / bwPositions * bwLength, slowest / (bwPositions / 1e6 / bwWall)
        printf "  (slowest build and file; the goal: >= 1000x).\n"
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
if [ ! -f "$root/native/build.ninja" ] || [ ! -f "$root/win64/build.ninja" ] || [ ! -f "$root/win32/build.ninja" ]; then
  bash "$top/scripts/configure.sh" "$root" || true
fi
[ -f "$root/native/build.ninja" ] && [ -f "$root/win64/build.ninja" ] || { echo "bench: cannot configure $root" >&2; exit 1; }
echo "== building the benchmarks"
build_log="$root/bench-build.log"
: >"$build_log"
cmake --build "$root/native" --target oktalon_native_search_bench oktalon_bench_make_data >>"$build_log" 2>&1 &&
  cmake --build "$root/win64" --target oktalon oktalon_open_bench oktalon_paint_bench oktalon_search_bench >>"$build_log" 2>&1 ||
  { cat "$build_log" >&2; exit 1; }
for build in $builds; do
  [ "$build" = win64 ] || cmake --build "$root/$build" --target oktalon oktalon_search_bench >>"$build_log" 2>&1 ||
    { cat "$build_log" >&2; exit 1; }
done

data="$root/bench-data"
rm -rf "$data"
mkdir -p "$data"
trap 'rm -rf "$data"' EXIT

echo "== making the files"
head -c 1024 "$root/win64/oktalon.exe" >"$data/small.bin"
truncate -s "$sparse_size" "$data/sparse.bin"
# The longest sparse file the file system holds: ext4 takes just under 16 TiB.
for longest in $(( (1 << 44) - 65536 )) $((1 << 43)) $((1 << 42)) $((1 << 41)) $((1 << 40)); do
  truncate -s "$longest" "$data/longest.bin" 2>/dev/null && break
done
echo "$longest" >"$data/longest-size"
if wants search; then
  for d in "${datasets[@]}"; do
    label=$(field "$d" 1) option=$(field "$d" 2) size=$(field "$d" 3) hex=$(field "$d" 4)
    printf "$(echo "$hex" | sed 's/../\\x&/g')" >"$data/pattern-$label"
    if [ "$option" = sparse ]; then
      truncate -s "$size" "$data/$label.bin"
      continue
    fi
    [ "$option" = - ] && option=""
    # shellcheck disable=SC2086  # the option is one word or none
    "$root/native/bench/oktalon_bench_make_data" "$data/$label.bin" "$size" $option "$hex" | tee "$data/made-$label.txt"
  done
  sed -n 's/.*: \([0-9.]*\)% zero bytes.*/\1/p' "$data/made-zeros.txt" >"$data/zeros"
  "$root/native/bench/oktalon_bench_make_data" "$data/bytewise.bin" "$bytewise_size" "$bytewise_pattern" >/dev/null
fi

source "$top/scripts/wine-loader.sh"
oktalon_choose_wine
echo "== measuring on $(nproc) CPUs ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')), load $(cut -d' ' -f1-3 /proc/loadavg);" \
     "$(grep -V | head -n1), $("$WINELOADER" --version 2>/dev/null)"
bash "$top/tests/winebed.sh" --bed "$root/win64/benchbed" --display --shell -- bash "$self" --in-bed "$root" "$data"
