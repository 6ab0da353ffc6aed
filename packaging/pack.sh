#!/usr/bin/env bash
# Makes the release files of one Windows build: the portable zip (oktalon.exe and CTIMNE.txt)
# and the per-user installer (oktalon.nsi). Both come out byte for byte the same from any folder
# on any day: every time in them is the commit's (SOURCE_DATE_EPOCH, else the last commit's
# date), the zip's entries are sorted and carry no Unix extras.
#   usage: packaging/pack.sh x64|x86 VERSION OKTALON.EXE OUT.zip OUT-setup.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 5 ] || { echo "usage: pack.sh x64|x86 VERSION OKTALON.EXE OUT.zip OUT-setup.exe" >&2; exit 2; }
arch=$1 version=$2 exe=$3 zip=$4 setup=$5
case "$arch" in
  x64) target=amd64-unicode ;;
  x86) target=x86-unicode ;;
  *) echo "pack.sh: the architecture is x64 or x86, not '$arch'" >&2; exit 2 ;;
esac
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct)}
IFS=. read -r major minor patch tweak <<<"$version"
quad="$major.${minor:-0}.${patch:-0}.${tweak:-0}"

# What the user gets, staged with fixed permissions and times. The text file as Notepad reads it
# on any Windows: UTF-8 with a byte-order mark, CRLF line ends.
stage="$(dirname "$zip")/stage-$arch"
rm -rf "$stage" && mkdir -p "$stage"
cp "$exe" "$stage/oktalon.exe"
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$here/CTIMNE.txt"; } >"$stage/CTIMNE.txt"
chmod 644 "$stage"/*
touch -d "@$epoch" "$stage"/*

# A zip stores local times: in UTC they are the same wherever it is made.
rm -f "$zip"
(cd "$stage" && ls | LC_ALL=C sort | TZ=UTC zip -q -X -D "$zip" -@)

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION_QUAD="$quad" -DARCH="$arch" \
  -DTARGET="$target" -DSTAGE="$stage" -DICON="$here/../res/oktalon.ico" -DOUTFILE="$setup" \
  "$here/oktalon.nsi"
