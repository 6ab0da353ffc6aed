#!/usr/bin/env bash
# Runs the failing-disk tests inside the Wine test bed: builds the FUSE file system of
# failing_disk_fs.c, mounts it on a folder of WORK_DIR, names the files it serves to the test
# program (OKTALON_FAILING_FILE and the slow one, OKTALON_SLOW_FILE, as Wine names) and unmounts it
# when the program ends. Where no FUSE
# file system can be mounted, the program is told why (OKTALON_FAILING_DISK_SKIP) and skips.
# usage: failing_disk.sh TEST.exe WORK_DIR [gtest args...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1 work=$2
shift 2
# The file: 300 lines of 16 bytes; lines 100 to 147 cannot be read.
size=4800 bad_start=1600 bad_end=2368

mnt="$work/mnt" server="$work/failing_disk_fs"
mkdir -p "$work"
fusermount3 -u "$mnt" 2>/dev/null || true  # left mounted by a run that was killed
mkdir -p "$mnt"

why_not=""
if [ ! -c /dev/fuse ]; then
  why_not="there is no /dev/fuse"
elif ! pkg-config --exists fuse3; then
  why_not="libfuse3 is not installed (scripts/install-deps.sh installs it)"
else
  # shellcheck disable=SC2046  # pkg-config gives several words
  cc -std=c11 -O2 -Wall -Wextra -Werror -o "$server" "$here/failing_disk_fs.c" $(pkg-config --cflags --libs fuse3)
  "$server" "$size" "$bad_start" "$bad_end" "$mnt" -f -s -o auto_unmount 2>"$work/server.log" &
  server_pid=$!
  for _ in $(seq 100); do
    mountpoint -q "$mnt" && break
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.05
  done
  mountpoint -q "$mnt" || why_not="FUSE cannot be mounted here: $(tail -n 1 "$work/server.log")"
fi
unmount() {
  if [ -n "${server_pid:-}" ]; then
    fusermount3 -u "$mnt" 2>/dev/null || true
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
}
trap unmount EXIT

if [ -n "$why_not" ]; then
  export OKTALON_FAILING_DISK_SKIP="$why_not"
else
  OKTALON_FAILING_FILE=$(bash "$here/../winebed.sh" --winpath "$mnt/failing.bin")
  OKTALON_SLOW_FILE=$(bash "$here/../winebed.sh" --winpath "$mnt/slow.bin")
  export OKTALON_FAILING_FILE OKTALON_SLOW_FILE
fi
export WINEDEBUG=-all
status=0
"$WINELOADER" "$exe" --gtest_brief=1 "$@" || status=$?
exit "$status"
