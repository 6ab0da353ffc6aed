#!/usr/bin/env bash
# Checks that the release is reproducible: clones the current commit twice, into folders of
# different names and depths, makes the release in each (scripts/package.sh; the second under
# another time zone and umask) and compares the two dist/ folders byte for byte.
#   usage: scripts/check-reproducible.sh [WORK_DIR]   (default: a new temporary folder)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d)}
commit=$(git -C "$top" rev-parse HEAD)
first="$work/a/oktalon"
second="$work/druhý klon/hlouběji/oktalon-2"
for clone in "$first" "$second"; do
  rm -rf "$clone"
  git clone -q --no-checkout "$top" "$clone"
  git -C "$clone" checkout -q "$commit"
done
bash "$first/scripts/package.sh"
(umask 077 && TZ=Pacific/Chatham bash "$second/scripts/package.sh")
if diff -r "$first/dist" "$second/dist"; then
  echo "reproducible: commit ${commit:0:12}, built in $first and in $second: dist/ identical"
  (cd "$first/dist" && cat SHA256SUMS)
else
  echo "NOT reproducible: dist/ differs between $first and $second" >&2
  exit 1
fi
