#!/usr/bin/env bash
# Inside the Wine test bed: starts the program, waits for its main window to show and finish
# painting, saves a PNG of that window alone and ends the program.
#   usage: screenshot.sh OUT.png PROGRAM.exe [ARGS...]
# The main window is found by its X window class (Wine names it after the exe), never by its
# title, which begins with the open file's name. OKTALON_SCREENSHOT_TIMEOUT (seconds, default 60)
# bounds the wait for the window. OKTALON_SCREENSHOT_CLASS names the program whose window is
# wanted when PROGRAM.exe only starts it (default: PROGRAM.exe's own name).
set -euo pipefail
out=$1; shift
exe=$1
timeout=${OKTALON_SCREENSHOT_TIMEOUT:-60}
class=${OKTALON_SCREENSHOT_CLASS:-$(basename "$exe")}
class_pattern="^${class//./\\.}\$"

# The largest visible top-level window of the program that is an ordinary window, not an owned
# one (tooltips, a floating tool window, a message box).
main_window() {
  local w best="" best_area=0 props WIDTH HEIGHT
  for w in $(xdotool search --onlyvisible --class "$class_pattern" 2>/dev/null); do
    props=$(xprop -id "$w" _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR 2>/dev/null) || continue
    [[ $props == *_NET_WM_WINDOW_TYPE_NORMAL* && $props == *"WM_TRANSIENT_FOR:  not found"* ]] || continue
    eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^(WIDTH|HEIGHT)=')"
    if [ $((WIDTH * HEIGHT)) -gt "$best_area" ]; then
      best=$w best_area=$((WIDTH * HEIGHT))
    fi
  done
  echo "$best"
}

"$WINELOADER" "$@" &
pid=$!
stop_program() {
  kill "$pid" 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

window=""
deadline=$((SECONDS + timeout))
while [ $SECONDS -lt "$deadline" ]; do
  window=$(main_window)
  [ -n "$window" ] && break
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "screenshot: $class ended without showing its main window" >&2
    exit 1
  fi
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "screenshot: no main window of $class appeared within $timeout s" >&2
  stop_program
  exit 1
fi

# Painted once two captures half a second apart are the same (at most about 10 s).
eval "$(xdotool getwindowgeometry --shell "$window")"
crop="${WIDTH}x${HEIGHT}+${X}+${Y}"
previous=""
for _ in $(seq 20); do
  sleep 0.5
  current=$(import -window root -crop "$crop" +repage ppm:- | md5sum)
  [ "$current" = "$previous" ] && break
  previous=$current
done
import -window root -crop "$crop" +repage -strip "$out"
echo "screenshot: $out (${WIDTH}x${HEIGHT})"
stop_program
