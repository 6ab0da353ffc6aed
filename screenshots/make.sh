#!/usr/bin/env bash
# Remakes the README's pictures: README command 1 on a small file whose name has blanks and Czech
# letters and whose bytes hold Czech text in Windows-1250, so the dump shows the dash between its
# eighth and ninth bytes, Czech letters in the character column and the marked (cyan) first line;
# once at 96 DPI and once at 144, a display scaled to 150 %.
#   usage: bash screenshots/make.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/Vzorek dat – žluťoučký.bin"
{
  printf 'Příliš žluťoučký kůň úpěl ďábelské ódy. ' | iconv -f UTF-8 -t CP1250
  printf 'Oktalon 1.0\r\n\x00\x01\x02\x03\x7F\x80\xFF'
  seq 1000 1024 | tr '\n' ' '
} >"$file"
bash "$top/scripts/run.sh" --screenshot "$top/screenshots/oktalon.png" "$file"
bash "$top/scripts/run.sh" --dpi 144 --screenshot "$top/screenshots/oktalon-150.png" "$file"
