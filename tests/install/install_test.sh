#!/usr/bin/env bash
# Installs one build's release files under Wine in a fresh prefix, as a user would, and checks
# what each step leaves: the portable zip's program shows a file; an older Windows than 7 SP1
# refused, nothing installed; the silent installer's files, shortcut, uninstall entry and
# context-menu entry; the installed program's version details, as Windows reads them, agreeing
# with the entry; the installed program started through the
# context-menu command on a file with blanks and Czech letters; a second install; an install and
# an uninstall while the program runs (refused, nothing changed); the quiet uninstall, which
# removes all the installer made and keeps the user's recent-file list. It checks the resulting
# files and registry, never Wine's exit codes, and ends with the list of what it checked.
# Pictures of the program and of the installer's question land in the bed folder.
#   usage: install_test.sh x64|x86 RELEASE.zip SETUP.exe OKTALON.exe RUN_COMMAND_LINE.exe VERSION_INFO.exe BED_DIR
# Where the bed cannot run the build (scripts/wine-loader.sh says why), it skips with exit code 77.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/scripts/wine-loader.sh"

if [ "${1:-}" != --in-bed ]; then
  [ $# -eq 7 ] || {
    echo "usage: install_test.sh x64|x86 RELEASE.zip SETUP.exe OKTALON.exe RUN_COMMAND_LINE.exe VERSION_INFO.exe BED_DIR" >&2
    exit 2
  }
  if [ "$1" = x86 ] && oktalon_wine64_only; then
    echo "install test of the x86 release skipped: $(oktalon_wine64_only_reason)"
    exit 77
  fi
  rm -rf "$7"
  exec bash "$top/tests/winebed.sh" --bed "$7" --display --shell -- bash "$0" --in-bed "$@"
fi
shift
arch=$1 zip=$2 setup=$3 built_exe=$4 runner=$5 version_info=$6 bed=$7
work="$bed/work"
mkdir -p "$work"

checked=()
gave_up=()
fail() { echo "FAILED ($arch): $*" >&2; exit 1; }
# expect WHAT COMMAND...: runs the check; its description goes to the list when it holds.
expect() {
  local what=$1
  shift
  "$@" || fail "$what"
  checked+=("$what")
  echo "ok: $what"
}

# The Windows programs of this prefix that still run: "PID COMMAND LINE, ...", or "none".
wine_programs() {
  local pid listed=""
  for pid in $(pgrep -f '\.exe( |$)' || true); do
    [[ $(readlink "/proc/$pid/exe" 2>/dev/null) == */wine* ]] || continue
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    listed+="${listed:+, }$pid $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | sed -E 's/ +$//')"
  done
  echo "${listed:-none}"
}
# within SECONDS WHAT COMMAND...: runs a command that waits for Windows programs, for at most
# SECONDS. When the limit is reached (or the command runner, oktalon_run_command_line.exe, gives up
# at its own, shorter limit and says so itself, with exit code 124), the step fails in one line
# that says what it waited for and what still ran; the prefix's programs are ended and the test
# goes on, to fail at its end.
within() {
  local limit=$1 what=$2 pid status=0
  shift 2
  "$@" &
  pid=$!
  local deadline=$((SECONDS + limit))
  while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "FAILED ($arch): gave up after $limit s waiting for $what; still running: $(wine_programs)" >&2
    kill "$pid" 2>/dev/null || true
    "$WINESERVER" -k 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    gave_up+=("$what")
    return 0
  fi
  wait "$pid" || status=$?
  [ "$status" != 124 ] || gave_up+=("$what")
  return 0
}
# settle: waits until the prefix's Wine session has ended (the registry is then on disk).
settle() { within 120 "the Wine session to end" "$WINESERVER" -w; }
# wine_run SECONDS PROGRAM [ARGS...]: a Windows program, waited for at most SECONDS.
wine_run() {
  local limit=$1
  shift
  within "$limit" "$*" "$WINELOADER" "$@"
}
# The registry as Wine keeps it (HKCU in user.reg, written out when the Wine session has ended).
#   reg keys            every key's name
#   reg section KEY     the key's lines as stored, with its write time
#   reg value KEY NAME  one value (NAME @ is the default one): a string as text, a DWORD in decimal
reg() {
  perl -COA -e '
    my ($file, $mode, $want, $name) = @ARGV;
    sub text {
      my $s = shift;
      $s =~ s/\\(?:x([0-9a-fA-F]{1,4})|(.))/defined $1 ? chr(hex $1) : $2/ge;
      $s =~ s/([\x{D800}-\x{DBFF}])([\x{DC00}-\x{DFFF}])/
              chr(0x10000 + (ord($1) - 0xD800) * 0x400 + ord($2) - 0xDC00)/gex;
      $s
    }
    open my $in, "<", $file or die "$file: $!";
    my $key;
    while (<$in>) {
      chomp;
      if (/^\[(.*)\] \d+$/) { $key = text($1); print "$key\n" if $mode eq "keys"; }
      next unless defined $key && $key eq ($want // "");
      print "$_\n" if $mode eq "section";
      my ($n, $v) = /^(?:@|"((?:[^"\\]|\\.)*)")=(.*)$/ or next;
      next unless $mode eq "value" && text($n // "@") eq $name;
      print $v =~ /^"(.*)"$/ ? text($1) : $v =~ /^dword:(\w{8})$/ ? hex($1) : $v, "\n";
    }' "$WINEPREFIX/user.reg" "$@"
}
# values KEY NAME...: the values, joined by "|".
values() {
  local key=$1 name joined=""
  shift
  for name in "$@"; do joined+="${joined:+|}$(reg value "$key" "$name")"; done
  echo "$joined"
}
# added OLD NEW: the lines of the list NEW that OLD lacks; common A B: the lines both have.
added() { LC_ALL=C comm -13 "$1" "$2"; }
common() { LC_ALL=C comm -12 "$1" "$2"; }
# Every file and folder of drive C: but Wine's own Windows folder and the temporary files (where
# the uninstaller leaves the copy of itself it ran from: Windows removes it at the next start).
temp_dir=""
files() {
  find "$WINEPREFIX/drive_c" \( -path "$WINEPREFIX/drive_c/windows" -o -path "$temp_dir" \) -prune -o -print |
    LC_ALL=C sort
}
winenv() { wine_run 60 cmd /c echo "%$1%" | tr -d '\r'; }
# The Unix name of a Windows one, through the prefix's drive links (c: is drive_c).
unixpath() { realpath -m -- "$(wine_run 60 winepath -u "$1" 2>/dev/null | tr -d '\r')"; }
winpath() { bash "$top/tests/winebed.sh" --winpath "$1"; }
# Whether a text file reads right in Notepad on any Windows: UTF-8 with a byte-order mark, CRLF.
notepad_text() {
  [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' ')" = efbbbf ] && iconv -f UTF-8 -t UTF-8 "$1" >/dev/null &&
    [ "$(grep -c $'\r$' "$1")" = "$(wc -l <"$1")" ]
}
# shot NAME PROGRAM [ARGS...]: a PNG of the viewer's main window (scripts/screenshot.sh), checked
# to show a file's dump.
shot() {
  local png="$bed/$1.png" output
  shift
  output=$(OKTALON_SCREENSHOT_CLASS=oktalon.exe bash "$top/scripts/screenshot.sh" "$png" "$@" 2>&1) ||
    fail "no window of the viewer: $output"
  bash "$top/tests/e2e/check_dump_png.sh" "$png" "$output"
}

file="$work/Vzorek dat – žluťoučký.bin"
printf 'Oktalon \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 0123456789 \x00\x01\x02\xFF' >"$file"
file_win=$(winpath "$file")
temp_dir=$(unixpath "$(winenv TEMP)")
[ -d "$temp_dir" ] || fail "no temporary folder ($temp_dir)"

# ---- The portable zip
expect "zip: holds CTIMNE.txt and oktalon.exe, nothing else" \
  test "$(unzip -Z1 "$zip" | tr '\n' ' ')" = "CTIMNE.txt oktalon.exe "
unpacked="$work/Oktalon přenosný"
unzip -q "$zip" -d "$unpacked"
expect "zip: its oktalon.exe is the build's, resources and all" \
  cmp -s "$unpacked/oktalon.exe" "$built_exe"
expect "zip: CTIMNE.txt is UTF-8 with a byte-order mark and CRLF line ends" \
  notepad_text "$unpacked/CTIMNE.txt"
expect "zip: its oktalon.exe, started from the unpacked folder, shows a file's dump" \
  shot zip "$unpacked/oktalon.exe" "$file_win"

# ---- The installer itself: a program of the release's architecture (the x64 one runs where
# only 64-bit programs can). The machine field of its PE header: 8664 x86-64, 014c x86.
pe_machine() { od -An -tx2 -j $(($(od -An -tu4 -j 60 -N 4 "$1") + 4)) -N 2 "$1" | tr -d ' '; }
declare -A machine=([x64]=8664 [x86]=014c)
expect "installer: a $arch program (PE machine ${machine[$arch]})" \
  test "$(pe_machine "$setup")" = "${machine[$arch]}"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Oktalon'
menu_key='Software\Classes\*\shell\Oktalon'
# The installer's one visible window. Wine may remake a window's X window just after showing it,
# so it is looked up afresh each time.
installer_window() { xdotool search --onlyvisible --class "^${setup##*/}\$" 2>/dev/null | head -n 1; }

# ---- On a Windows older than 7 SP1 (the prefix set to Vista): the installer says why and
# installs nothing, silent or not
settle
files >"$work/files.fresh"
reg keys | LC_ALL=C sort >"$work/keys.fresh"
wine_run 60 reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d vista /f >/dev/null
settle
files >"$work/files.vista"
wine_run 120 "$setup" /S
"$WINELOADER" "$setup" &
refused=$!
for _ in $(seq 60); do [ -n "$(installer_window)" ] && break; sleep 1; done
sleep 1
eval "$(xdotool getwindowgeometry --shell "$(installer_window)")" || fail "the installer showed nothing on Vista"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$bed/installer-old-windows.png"
expect "old Windows: started on Vista, the installer first shows one small window, its message (${WIDTH}x${HEIGHT})" \
  test "$WIDTH" -lt 700 -a "$HEIGHT" -lt 300
for _ in $(seq 30); do
  kill -0 "$refused" 2>/dev/null || break
  xdotool key --window "$(installer_window)" Return 2>/dev/null || true
  sleep 1
done
expect "old Windows: on OK the installer ends" bash -c '! kill -0 "$1" 2>/dev/null' _ "$refused"
wine_run 60 reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null
settle
files >"$work/files.refused"
expect "old Windows: neither the silent nor the shown installer wrote a file or a key" \
  test "$(added "$work/files.vista" "$work/files.refused")" = "" -a \
       -z "$(reg keys | grep -xF -e "$uninstall_key" -e "$menu_key")"

# ---- The silent install
wine_run 120 "$setup" /S
settle
files >"$work/files.installed"
reg keys | LC_ALL=C sort >"$work/keys.installed"
added "$work/files.fresh" "$work/files.installed" >"$work/files.made"
added "$work/keys.fresh" "$work/keys.installed" >"$work/keys.made"

# The version the release's file names carry: the entry names the same.
version=$(basename "$zip" | sed -n 's/^oktalon-\(.*\)-x[0-9]*\.zip$/\1/p')
location=$(reg value "$uninstall_key" InstallLocation)
expect "install: under %LOCALAPPDATA%\\Programs\\Oktalon" \
  test "$location" = "$(winenv LOCALAPPDATA)\\Programs\\Oktalon"
dir=$(unixpath "$location")
expect "install: the folder holds oktalon.exe and uninstall.exe, nothing else" \
  test "$(cd "$dir" && ls | tr '\n' ' ')" = "oktalon.exe uninstall.exe "
expect "install: the installed oktalon.exe is the build's" cmp -s "$dir/oktalon.exe" "$built_exe"
shortcut=$(grep -i '\.lnk$' "$work/files.made" || true)
profile=$(unixpath "$(winenv USERPROFILE)")
expect "install: one new shortcut, Oktalon.lnk, in the user's own Start menu" \
  test "$(grep -c "^$profile/.*/Start Menu/.*/Oktalon\.lnk\$" <<<"$shortcut")|$(wc -l <<<"$shortcut")" = "1|1"
expect "install: the shortcut starts the installed oktalon.exe" \
  grep -qaiF "$location\\oktalon.exe" "$shortcut"
expect "install: nothing written outside the install folder, the shortcut and the user's registry" \
  test "$(grep -cvF -e "$dir" -e "$shortcut" -e "$(dirname "$dir")" "$work/files.made")" = 0
expect "install: the uninstall entry names Oktalon $version by its publisher" \
  test "$(values "$uninstall_key" DisplayName DisplayVersion Publisher)" = \
       "Oktalon|$version|autoři projektu Oktalon"
expect "install: the entry's icon is the installed program's" \
  test "$(reg value "$uninstall_key" DisplayIcon)" = "$location\\oktalon.exe,0"
expect "install: the entry's uninstall and quiet-uninstall commands start the installed uninstaller" \
  test "$(values "$uninstall_key" UninstallString QuietUninstallString)" = \
       "\"$location\\uninstall.exe\"|\"$location\\uninstall.exe\" /S"
size_kib=$(( ($(stat -c %s "$dir/oktalon.exe") + $(stat -c %s "$dir/uninstall.exe")) / 1024 ))
estimated=$(reg value "$uninstall_key" EstimatedSize)
expect "install: the entry's size is the folder's ($estimated KiB for $size_kib)" \
  test "$estimated" -ge "$size_kib" -a "$estimated" -le $((size_kib + 8))
expect "install: the context-menu entry \"Otevřít v Oktalonu\" for every file, with the program's icon" \
  test "$(values "$menu_key" @ Icon)" = "Otevřít v Oktalonu|$location\\oktalon.exe,0"
command=$(reg value "$menu_key\\command" @)
expect "install: the context-menu command is the installed oktalon.exe \"%1\"" \
  test "$command" = "\"$location\\oktalon.exe\" \"%1\""

# ---- The installed program's version details, as Explorer's Properties and installers read them
wine_run 60 "$version_info" "$location\\oktalon.exe" | tr -d '\r' >"$work/version.txt"
detail() { sed -n "s/^$1=//p" "$work/version.txt"; }
display_version=$(reg value "$uninstall_key" DisplayVersion)
IFS=. read -r major minor patch tweak <<<"$display_version"
expect "version: FileVersion and ProductVersion are the entry's DisplayVersion ($display_version)" \
  test "$(detail FileVersion)|$(detail ProductVersion)" = "$display_version|$display_version"
expect "version: the fixed file and product versions are $display_version in four parts" \
  test "$(detail Fixed.FileVersion)|$(detail Fixed.ProductVersion)" = \
       "$major.${minor:-0}.${patch:-0}.${tweak:-0}|$major.${minor:-0}.${patch:-0}.${tweak:-0}"
expect "version: one translation, Czech in Unicode (040504b0), an application (type 1)" \
  test "$(detail Translations)|$(detail Fixed.FileType)" = "040504b0|1"
expect "version: the product Oktalon, its file oktalon.exe, by the entry's publisher, © the About box's authors" \
  test "$(detail ProductName)|$(detail OriginalFilename)|$(detail CompanyName)|$(detail LegalCopyright)" = \
       "Oktalon|oktalon.exe|$(reg value "$uninstall_key" Publisher)|© 2026 autoři projektu Oktalon"
expect "version: a description that says what the program is ($(detail FileDescription))" \
  grep -q '^FileDescription=Oktalon, prohlížeč souborů' "$work/version.txt"

# ---- The context-menu command, as Explorer runs it: %1 replaced by the file's name
expect "context menu: the installed program shows the file with blanks and Czech letters in its name" \
  shot context-menu "$runner" "${command//%1/$file_win}"
settle
recent_key=$(reg keys | grep -m1 '^Software\\Local AppWizard-Generated Applications\\.*\\Recent File List$' ||
  true)
expect "context menu: the program opened that very file (first in its recent-file list)" \
  test "$(reg value "$recent_key" File1)" = "$file_win"

# ---- Installing again
written_before=$(stat -c %y "$dir/uninstall.exe")
wine_run 120 "$setup" /S
settle
files >"$work/files.again"
reg keys | LC_ALL=C sort >"$work/keys.again"
expect "again: the installer ran over the installed copy (its uninstaller written anew)" \
  test "$(stat -c %y "$dir/uninstall.exe")" != "$written_before"
expect "again: the same files and keys as after the first install: one copy, one shortcut, one entry" \
  test "$(added "$work/files.fresh" "$work/files.again")" = "$(cat "$work/files.made")" -a \
       "$(added "$work/keys.fresh" "$work/keys.again" | grep -vxF "$recent_key")" = "$(cat "$work/keys.made")"

# An update keeps the user's choice: a copy installed without the context-menu entry (here: the
# entry taken away) is updated without it.
wine_run 60 reg delete "HKCU\\$menu_key" /f >/dev/null 2>&1
wine_run 120 "$setup" /S
settle
expect "again: an update of a copy installed without the context-menu entry leaves it out" \
  test -z "$(reg keys | grep -xF "$menu_key\\command")"

# ---- While the installed program runs: the installer and the uninstaller change nothing
# What any install or uninstall would change: the files with their sizes and times (every install
# writes the uninstaller anew; the program's time is set to one no install gives it), and our keys.
state() {
  { find "$dir" "$shortcut" -printf '%p %s %T@\n' 2>&1 || true; } | LC_ALL=C sort
  reg section "$uninstall_key"
  reg section "$menu_key"
  reg section "$menu_key\\command"
}
touch -d '2001-02-03 04:05:06' "$dir/oktalon.exe"
settle
state >"$work/state.before"
"$WINELOADER" "$location\\oktalon.exe" "$file_win" &
program=$!
timeout 60 xdotool search --sync --onlyvisible --class '^oktalon\.exe$' >/dev/null ||
  fail "the installed program did not start"

wine_run 120 "$setup" /S
"$WINELOADER" "$setup" &
installer=$!
for _ in $(seq 60); do [ -n "$(installer_window)" ] && break; sleep 1; done
sleep 1
eval "$(xdotool getwindowgeometry --shell "$(installer_window)")" || fail "the installer showed no window"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$bed/installer-question.png"
expect "running: the installer, started, first asks to close the program (a small window, ${WIDTH}x${HEIGHT})" \
  test "$WIDTH" -lt 600 -a "$HEIGHT" -lt 300
for _ in $(seq 30); do
  kill -0 "$installer" 2>/dev/null || break
  xdotool key --window "$(installer_window)" Escape 2>/dev/null || true
  sleep 1
done
expect "running: on Storno the installer ends" bash -c '! kill -0 "$1" 2>/dev/null' _ "$installer"
wine_run 120 "$runner" "$(reg value "$uninstall_key" QuietUninstallString)"
expect "running: the program still runs" kill -0 "$program"
kill "$program"
wait "$program" 2>/dev/null || true
settle
state >"$work/state.after"
expect "running: a silent install, the cancelled install and a quiet uninstall changed no file or key" \
  diff "$work/state.before" "$work/state.after"

# ---- The quiet uninstall, as "Programs and Features" runs it
# It starts in a new Wine session with no desktop yet, so the uninstaller creates the session's
# first window: Wine's desktop process then starts, and it must not hold up the wait for the
# uninstaller.
"$WINESERVER" -k 2>/dev/null || true
settle
still_running=$(wine_programs)
expect "uninstall: it starts in a new Wine session, no Windows program running (running: $still_running)" \
  test "$still_running" = none
uninstall_started=$SECONDS gave_up_before=${#gave_up[@]}
wine_run 120 "$runner" "$(reg value "$uninstall_key" QuietUninstallString)"
expect "uninstall: the quiet uninstall, the session's first window, returned ($((SECONDS - uninstall_started)) s)" \
  test ${#gave_up[@]} = "$gave_up_before"
settle
files >"$work/files.uninstalled"
reg keys | LC_ALL=C sort >"$work/keys.uninstalled"
# What stays: the user's own settings (the recent-file list and the keys above it, the program's
# profile), and Windows' own places that every profile has but a fresh Wine prefix lacks until the
# installer makes them for what it puts there.
windows_own_folder=$(dirname "$dir")
profile_root='Software\Local AppWizard-Generated Applications'
kept_keys=('Software\Classes' 'Software\Microsoft\Windows\CurrentVersion\Uninstall')
expect "uninstall: every key the installer made is gone ($(paste -sd ' ' "$work/keys.made"))" \
  test -z "$(common "$work/keys.made" "$work/keys.uninstalled")"
expect "uninstall: of the files a fresh prefix lacks, only Windows' own %LOCALAPPDATA%\\Programs is left" \
  test "$(added "$work/files.fresh" "$work/files.uninstalled")" = "$windows_own_folder"
left_keys=$(added "$work/keys.fresh" "$work/keys.uninstalled" | { grep -vxF "${kept_keys[@]/#/-e}" || true; } |
  ROOT=$profile_root awk 'index($0, ENVIRON["ROOT"]) != 1' | paste -sd ' ')
expect "uninstall: of the keys a fresh prefix lacks, only the program's profile, ${kept_keys[*]} are left${left_keys:+ (also: $left_keys)}" \
  test -z "$left_keys"
expect "uninstall: the user's recent-file list stays, the file still first" \
  test "$(reg value "$recent_key" File1)" = "$file_win"

echo "install test ($arch): ${#checked[@]} checks passed:"
printf '  - %s\n' "${checked[@]}"
if [ ${#gave_up[@]} -gt 0 ]; then
  echo "FAILED ($arch): ${#gave_up[@]} steps gave up waiting:" >&2
  printf '  - %s\n' "${gave_up[@]}" >&2
  exit 1
fi
