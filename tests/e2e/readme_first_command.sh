#!/usr/bin/env bash
# Runs the README's first command as written, on a file whose name has blanks and Czech letters,
# and checks its PNG with check_dump_png.sh.
# With --wine64-only the command takes the path of a machine that cannot run 32-bit programs
# (OKTALON_WINE64_ONLY=1), and a wine, wineboot or wineserver reached through the PATH fails as
# Debian's wine does there, so that any Wine call that does not go through the bed's choice of
# loader fails the test.
#   usage: readme_first_command.sh [--wine64-only] [BUILD_ROOT]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
wine64_only=0
[ "${1:-}" = --wine64-only ] && { wine64_only=1; shift; }
export OKTALON_BUILD_ROOT=${1:-$top/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

if [ "$wine64_only" = 1 ]; then
  export OKTALON_WINE64_ONLY=1
  mkdir "$work/path"
  for name in wine wine-stable wine64 wineboot wineserver winecfg winepath; do
    printf '#!/bin/sh\necho "/usr/bin/wine-stable: exec: /usr/lib/wine/wine: Exec format error" >&2\nexit 126\n' \
      >"$work/path/$name"
    chmod +x "$work/path/$name"
  done
  export PATH="$work/path:$PATH"
  # The command's bed makes its prefix anew, so that making it is tried under the stand-ins too.
  rm -f "$OKTALON_BUILD_ROOT/win64/winebed/prefix/.oktalon-ready"
fi

command=$(sed -n '/^# 1\./{n;p;q}' "$top/README.md")
[[ $command == "bash scripts/run.sh /path/to/any/file --screenshot oktalon.png" ]] ||
  fail "the README's first command is not the one this test knows: $command"

file="$work/Vzorek dat – žluťoučký.bin"
printf 'Oktalon \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 0123456789 \x00\x01\x02\xFF' >"$file"

# The command writes oktalon.png beside the README; keep a developer's own file of that name.
[ -e "$top/oktalon.png" ] && mv "$top/oktalon.png" "$work/kept.png"
restore() { [ -e "$work/kept.png" ] && mv "$work/kept.png" "$top/oktalon.png"; rm -rf "$work"; }
trap restore EXIT

quoted=$(printf '%q' "$file")
output=$(cd "$top" && bash -c "${command//\/path\/to\/any\/file/$quoted}" 2>&1) ||
  fail "the command failed: $output"
echo "$output" | tail -n 3
png="$top/oktalon.png"
[ -f "$png" ] || fail "no $png"
mv "$png" "$work/shot.png"
png="$work/shot.png"

bash "$top/tests/e2e/check_dump_png.sh" "$png" "$output" || fail "the PNG is not the dump of the file"
