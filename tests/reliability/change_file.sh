#!/usr/bin/env bash
# Runs the changing-file tests inside the Wine test bed: the Windows test program shows a file,
# and on its request this script changes the file's length from the Linux side, where Windows
# cannot lock it out. Requests come as a file "request" in the work folder ("truncate NAME SIZE"
# or "append NAME TEXT"); each is answered with a file "done".
# usage: change_file.sh TEST.exe WORK_DIR [gtest args...]
set -euo pipefail
exe=$1 work=$2
shift 2
rm -rf "$work"
mkdir -p "$work"
OKTALON_CHANGE_DIR=$(bash "$(dirname "$0")/../winebed.sh" --winpath "$work")
export OKTALON_CHANGE_DIR
export WINEDEBUG=-all

"$WINELOADER" "$exe" --gtest_brief=1 "$@" &
pid=$!
deadline=$((SECONDS + 300))
while kill -0 "$pid" 2>/dev/null; do
  if [ -f "$work/request" ]; then
    read -r action name argument <"$work/request" || true
    case "$action" in
      truncate) truncate -s "$argument" "$work/$name" ;;
      append) printf '%s' "$argument" >>"$work/$name" ;;
      *) echo "change_file: unknown request '$action'" >&2 ;;
    esac
    rm -f "$work/request"
    : >"$work/done.tmp"
    mv "$work/done.tmp" "$work/done"
  fi
  if [ "$SECONDS" -ge "$deadline" ]; then
    echo "change_file: the test program did not end within 300 s" >&2
    kill "$pid" 2>/dev/null || true
    break
  fi
  sleep 0.05
done
status=0
wait "$pid" || status=$?
rm -rf "$work"
exit "$status"
