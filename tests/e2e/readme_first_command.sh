#!/usr/bin/env bash
# Runs the README's first command as written, on a file whose name has blanks and Czech letters,
# and checks the PNG: the main window alone (the size the capture reported, smaller than the
# screen), with the dump's first line marked in cyan across the content width and text on it.
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

reported=$(echo "$output" | sed -n 's/^screenshot: .* (\([0-9]*x[0-9]*\))$/\1/p' | tail -n 1)
size=$(identify -format '%wx%h' "$png")
[ -n "$reported" ] && [ "$size" = "$reported" ] || fail "the PNG is $size, the window ${reported:-unknown}"
read -r width height <<<"${size/x/ }"
[ "$width" -lt 1280 ] && [ "$height" -lt 1024 ] || fail "the PNG ($size) is the whole screen, not the window"

# The cyan band: the first dump line, one text line high (at most the 15-pixel pitch), about the
# 610-pixel content width, just under the bars. Rows count as cyan when at least a tenth of the
# window's width is (the icon has a few cyan pixels of its own).
band=$(convert "$png" -fill black +opaque '#00FFFF' -fill white -opaque '#00FFFF' -depth 8 gray:- |
  od -An -v -tu1 -w"$width" |
  awk -v need=$((width / 10)) '
    { n = 0; first = 0; for (i = 1; i <= NF; i++) if ($i > 127) { n++; if (!first) first = i; last = i } }
    n >= need { if (y0 == "") { y0 = NR - 1; x0 = first - 1; x1 = last }
                y1 = NR; if (first - 1 < x0) x0 = first - 1; if (last > x1) x1 = last }
    END { if (y0 != "") printf "%dx%d+%d+%d\n", x1 - x0, y1 - y0, x0, y0 }')
[ -n "$band" ] || fail "no cyan line in the window"
read -r band_w band_h _ band_y <<<"$(echo "$band" | tr 'x+' '  ')"
[ "$band_h" -ge 12 ] && [ "$band_h" -le 15 ] || fail "the cyan band is $band (not one line high)"
[ "$band_w" -ge 600 ] && [ "$band_w" -le 625 ] || fail "the cyan band is $band (not the content width)"
[ "$band_y" -lt 150 ] || fail "the cyan band is $band (not the first line under the bars)"
black=$(convert "$png" -crop "$band" +repage -fill white +opaque black -negate -format '%[fx:mean]' info:)
awk -v b="$black" 'BEGIN { exit !(b > 0.02) }' || fail "no text on the cyan line (black share $black)"
echo "readme_first_command: window $size, cyan line $band, text share $black"
