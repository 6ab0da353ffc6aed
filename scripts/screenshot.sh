#!/usr/bin/env bash
# Inside the Wine test bed: starts the program, waits for its main window to paint, saves a PNG of
# that window and ends the program. usage: screenshot.sh OUT.png PROGRAM.exe [ARGS...]
set -euo pipefail
out=$1; shift
wine "$@" &
pid=$!
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '^Oktalon' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "screenshot: no Oktalon window appeared" >&2
  import -window root "$out" 2>/dev/null || true
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit 1
fi
sleep 1.5  # let the first painting finish
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "screenshot: $out (${WIDTH}x${HEIGHT})"
xdotool windowclose "$window" 2>/dev/null || true
sleep 0.5
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
