#!/usr/bin/env bash
# Checks that a PNG that scripts/screenshot.sh saved shows the viewer's main window with a file's
# dump: the main window alone (the size the capture reported, smaller than the screen), with the
# dump's first line marked in cyan across the content width and text on it.
#   usage: check_dump_png.sh SHOT.png SCREENSHOT_OUTPUT   (what screenshot.sh printed)
set -euo pipefail
png=$1 output=$2
fail() { echo "FAILED: $*" >&2; exit 1; }
[ -f "$png" ] || fail "no $png"

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
echo "dump shown: window $size, cyan line $band, text share $black"
