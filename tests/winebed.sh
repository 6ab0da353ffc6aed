#!/usr/bin/env bash
# The Wine test bed: runs one Windows program (or, with --shell, one Linux command) in a private,
# reproducible Windows environment:
#   - a private WINEPREFIX in the bed folder, created once and reused;
#   - LANG=cs_CZ.UTF-8, so Wine's ANSI code page is 1250, as on a Czech Windows (--locale picks
#     another: hi_IN.UTF-8, a locale with no ANSI code page of its own, gives UTF-8, 65001);
#   - Courier New replaced by Liberation Mono, window management off (no ~2 s stall per closing
#     window without a window manager), no crash dialog, no Mono/Gecko installers;
#   - Wine's Marlett font in the prefix, so that caption buttons show their symbols;
#   - the display's DPI, 96 unless --dpi gives another (LogPixels, as a display scaled to 125 %,
#     150 % or 200 % gives 120, 144 or 192), set in the prefix for each run that asks for another;
#   - a prefix made under another Wine set-up (another version, or before wine32 was installed,
#     which leaves a prefix that cannot load kernel32) is made anew;
#   - with --display, a private Xvfb display, started here and stopped here by its PID;
#   - the Wine loader that scripts/wine-loader.sh chooses for this machine, exported as WINELOADER
#     and WINESERVER: programs and commands in the bed start Windows programs with "$WINELOADER"
#     and end or wait for the session with "$WINESERVER", never with wine from the PATH;
#   - a Windows program finds the Unix names in OKTALON_* variables (those that begin with "/")
#     as the names Wine gives them, on drive Z:, the Unix root.
# A Linux command (--shell) keeps Unix names; it asks for a file's Wine name with --winpath.
#
# usage: winebed.sh --bed DIR [--display] [--locale LOCALE] [--dpi DPI] [--] PROGRAM.exe [ARGS...]
#        winebed.sh --bed DIR [--display] [--dpi DPI] --shell [--] COMMAND [ARGS...]
#        winebed.sh --winpath PATH      (prints PATH, made absolute, as a Wine name: Z:\...)
# The exit code is the program's.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-loader.sh"

# The name under which Windows programs in Wine see a Unix file.
winpath() {
  local path
  path=$(realpath -m -- "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}
if [ "${1:-}" = --winpath ]; then
  [ $# -eq 2 ] || { echo "usage: winebed.sh --winpath PATH" >&2; exit 2; }
  winpath "$2"
  exit 0
fi

bed="" display=0 shell=0 locale=cs_CZ.UTF-8 dpi=96
while [ $# -gt 0 ]; do
  case "$1" in
    --bed) bed="$2"; shift 2 ;;
    --display) display=1; shift ;;
    --shell) shell=1; shift ;;
    --locale) locale="$2"; shift 2 ;;
    --dpi) dpi="$2"; shift 2 ;;
    --) shift; break ;;
    -*) echo "winebed: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
[ -n "$bed" ] && [ $# -gt 0 ] || { echo "usage: winebed.sh --bed DIR [--display] [--locale LOCALE] [--dpi DPI] [--shell] [--] PROGRAM [ARGS...]" >&2; exit 2; }
[[ $dpi =~ ^[1-9][0-9]*$ ]] || { echo "winebed: --dpi takes a number of dots an inch, not '$dpi'" >&2; exit 2; }
mkdir -p "$bed"
bed=$(cd "$bed" && pwd)

export WINEPREFIX="$bed/prefix"
export WINEARCH=win64
oktalon_choose_wine
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

started=()
cleanup() {
  local pid
  # End this prefix's Wine session before its display goes, so that no Wine process is left
  # talking to a dead X server and the next run starts on its own display.
  [ "$display" = 1 ] && "$WINESERVER" -k 2>/dev/null || true
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# One run at a time per bed: a Wine session belongs to one display.
exec {runlock}>"$bed/.run.lock"
flock "$runlock"

# The locale, compiled once into the bed when the system does not have it.
if ! locale -a 2>/dev/null | grep -qix "${locale/UTF-8/utf8}"; then
  if [ ! -d "$bed/locale/$locale" ]; then
    mkdir -p "$bed/locale"
    localedef -i "${locale%%.*}" -f UTF-8 "$bed/locale/$locale" 2>/dev/null || [ -d "$bed/locale/$locale" ]
  fi
  export LOCPATH="$bed/locale"
fi
# For the programs started here. This shell itself cannot take a locale from LOCPATH (it reads
# its own environment only at start), so its complaint about that is dropped.
export LANG=$locale LC_ALL=$locale 2>/dev/null
unset LANGUAGE

if [ "$display" = 1 ]; then
  displayfile="$bed/.display.$$"
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$displayfile" 2>"$bed/xvfb.log" &
  started+=($!)
  for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.05; done
  [ -s "$displayfile" ] || { echo "winebed: Xvfb did not start (see $bed/xvfb.log)" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$displayfile")"
  rm -f "$displayfile"
fi

# What the prefix depends on: the Wine version, which of its loaders are installed and which one
# makes the prefix (one made by the 64-bit loader alone lacks the 32-bit half).
wine_setup() {
  "$WINELOADER" --version 2>/dev/null || echo "no wine"
  echo "made by $WINELOADER"
  local loader
  for loader in /usr/lib/wine/wine /usr/lib/wine/wine64 /usr/lib/wine/wine32; do
    [ -x "$loader" ] && echo "$loader"
  done
  return 0
}

# reg_set KEY NAME TYPE DATA: one of Wine's own settings (under HKCU\Software\Wine) in the prefix.
reg_set() {
  timeout 60 "$WINELOADER" reg add "HKCU\\Software\\Wine\\$1" /v "$2" /t "$3" /d "$4" /f >>"$bed/wineboot.log" 2>&1 ||
    { echo "winebed: could not set $1\\$2 in the prefix (see $bed/wineboot.log)" >&2; return 1; }
}

# Makes the prefix; a wineboot that fails stops the bed with its exit status and last lines.
make_prefix() {
  local log="$bed/wineboot.log" status=0
  rm -rf "$WINEPREFIX"
  timeout 300 "$WINELOADER" wineboot --init >"$log" 2>&1 || status=$?
  if [ "$status" != 0 ] || [ ! -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
    echo "winebed: wineboot --init with $WINELOADER could not make the prefix $WINEPREFIX" \
         "(exit status $status); its last lines:" >&2
    tail -n 15 "$log" | sed 's/^/    /' >&2
    return 1
  fi
  # Wine draws the caption buttons with Marlett, but does not find the copy in its data folder.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  [ -f "$marlett" ] && cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  reg_set 'Fonts\Replacements' 'Courier New' REG_SZ 'Liberation Mono'
  reg_set 'X11 Driver' Managed REG_SZ N
  reg_set 'X11 Driver' Decorated REG_SZ Y
  reg_set WineDbg ShowCrashDialog REG_DWORD 0
  timeout 120 "$WINESERVER" -w ||
    { echo "winebed: the Wine session that made the prefix did not end within 120 s" >&2; return 1; }
}

# The prefix is made once per Wine set-up; a lock keeps two runs from making it at the same time.
(
  flock 9
  setup=$(wine_setup)
  if [ ! -f "$WINEPREFIX/.oktalon-ready" ] || [ "$(cat "$WINEPREFIX/.oktalon-ready")" != "$setup" ]; then
    [ -d "$WINEPREFIX" ] && echo "winebed: making the prefix anew for this Wine set-up" >&2
    make_prefix
    printf '%s\n' "$setup" >"$WINEPREFIX/.oktalon-ready"
  fi
) 9>"$bed/.prefix.lock"

# The display's DPI, which a program reads when it starts: a prefix made at 96 is set to another
# (and back) as a run asks, so that one prefix serves every DPI.
dpi_mark="$WINEPREFIX/.oktalon-dpi"
if [ "$(cat "$dpi_mark" 2>/dev/null || echo 96)" != "$dpi" ]; then
  timeout 60 "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >>"$bed/wineboot.log" 2>&1 || { echo "winebed: could not set the DPI in the prefix (see $bed/wineboot.log)" >&2; exit 1; }
  echo "$dpi" >"$dpi_mark"
fi

status=0
if [ "$shell" = 1 ]; then
  "$@" || status=$?
else
  while IFS= read -r name; do
    value=${!name}
    [[ "$value" == /* ]] && export "$name=$(winpath "$value")"
  done < <(compgen -e | grep '^OKTALON_' || true)
  "$WINELOADER" "$@" || status=$?
fi
exit $status
