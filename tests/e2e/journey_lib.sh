# shellcheck shell=bash source-path=SCRIPTDIR
# Sourced by the test_journey_*.sh scripts: a user's session with the built
# program, driven only through what a user has (mouse, keys, the real
# dialogs), each journey in its own fresh Wine world.
#
#   journey_begin [--standard-user] [--no-install] N NAME EXE
#                              own Xvfb + prefix, the program installed in
#                              C:\Program Files\Grabwell; trap ends it all.
#                              --standard-user: Wine runs as a user who may
#                              not write the program folder or C:\windows;
#                              --no-install: the journey installs it itself
#   grabwell_start             start it, wait until its placement settled
#   probe ARGS...              tests/e2e/probe, one line, no CRs
#   shot NAME                  screenshot into $GRABWELL_ARTIFACTS
#   click / drag / keys / type_text / toolbar_click N
#   wait_for SECONDS CMD...    poll instead of sleeping (lib.sh, as differing)
#   journey_printer            before journey_begin: a private CUPS printer
#   JOURNEY_SCREEN=WxH         before journey_begin: another screen size
#   JOURNEY_WORLD=NAME         before journey_begin: the system the journey
#                              meets, from worlds/NAME.sh (plain Wine if unset)
#   fake_paint                 an editor for Paint.Picture that records its file
#                              in $PAINT_RECORD
#   standin FOLDER NAME        tests/e2e/planted's stand-in program as FOLDER/NAME;
#                              run, it writes its arguments to NAME.ran beside it
#   free_rectangle X0 Y0 X1 Y1 toolbar button 6, and once the cover is up a
#                              drag; waits for the picture
#   save_as / open_picture WINDOWS_PATH   through the real file dialogs
#
# A full Wine world per journey costs about 3 s to bring up (the prefix is a
# copy of a cached template) and 1-2 s to take down; that buys a first start
# with no stored settings, no wallpaper and no leftover windows.

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

JOURNEY_INSTALL_WIN='C:\Program Files\Grabwell'
_JOURNEY_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# A world is what the program meets: the display, the prefix and what is in
# it, and how the program gets there. worlds/NAME.sh, read at the end of
# this file, redefines any of these three (or a helper such as fake_paint);
# plain Wine is what they do here.
#   world_up        the display and the prefix (DISPLAY, WINEPREFIX, WINE)
#   world_install   the program into $JOURNEY_INSTALL, as the user gets it
#   world_launch    starts the installed program (in the background's place)
#   world_focus     after a click made a window active: the X keyboard focus
#                   there too
world_up() { winenv_up "${JOURNEY_SCREEN:-1024x768}" 24; }
world_install() {
  # The shipped folder: the exe with language\, readme.txt and Temp\ beside
  # it, in a path with a space as most users have.
  mkdir -p "$JOURNEY_INSTALL"
  cp -r "$1" "$(dirname "$1")/language" "$(dirname "$1")/readme.txt" "$JOURNEY_INSTALL/" &&
    mkdir -p "$JOURNEY_INSTALL/Temp"
}
world_launch() { exec "$WINE" "$JOURNEY_INSTALL_WIN\\Grabwell.exe"; }
# Wine leaves the X keyboard focus with a borderless window it activated
# meanwhile (a pattern window, when Grabwell hid); the desktop's X window
# hands keys to whichever window is in front.
world_focus() {
  xdotool windowfocus "$(xdotool search --maxdepth 1 --onlyvisible --classname '^explorer\.exe$' | head -n 1)"
}

_journey_cleanup() {
  local rc=$?
  winenv_down
  [[ -n ${_JOURNEY_CUPS:-} ]] && cups_down
  [[ -n ${_JOURNEY_WORK:-} ]] && rm -rf "$_JOURNEY_WORK"
  printf 'journey %s: %s in %ss\n' "$JOURNEY" "$( ((rc == 0)) && echo passed || echo FAILED)" \
    "$((SECONDS - _JOURNEY_T0))" >&2
  exit "$rc"
}

# journey_begin [--standard-user] [--no-install] N NAME EXE
journey_begin() {
  local standard=0 install=1
  while [[ ${1:-} == --* ]]; do
    case $1 in
      --standard-user) standard=1 ;;
      --no-install) install=0 ;;
      *) echo "journey: unknown option $1" >&2; exit 2 ;;
    esac
    shift
  done
  JOURNEY=$1-$2
  [[ $JOURNEY_WORLD == plain ]] || JOURNEY=$JOURNEY-$JOURNEY_WORLD
  local exe=${3:?usage: journey_begin [--standard-user] [--no-install] N NAME PATH/TO/Grabwell.exe}
  _JOURNEY_T0=$SECONDS
  [[ -f $exe ]] || { echo "journey: no program at $exe" >&2; exit 2; }
  [[ -n ${GRABWELL_PROBE:-} && -f $GRABWELL_PROBE ]] || { echo "journey: GRABWELL_PROBE unset" >&2; exit 2; }
  local build
  build=$(cd "$(dirname "$exe")/.." && pwd)
  GRABWELL_PATTERN=${GRABWELL_PATTERN:-$build/tests/e2e/pattern/grabwell_pattern.exe}
  _JOURNEY_WORK=$(mktemp -d "${TMPDIR:-/tmp}/grabwell-journey.XXXXXX")
  export GRABWELL_ARTIFACTS=${GRABWELL_ARTIFACTS:-$_JOURNEY_WORK/artifacts}
  mkdir -p "$GRABWELL_ARTIFACTS"
  trap _journey_cleanup EXIT
  # Our own display and prefix; winenv_down gives the caller's back.
  if ((standard)); then
    winenv_standard_user || e2e_fail "no standard user"
  fi
  world_up || e2e_fail "no $JOURNEY_WORLD Wine world"
  JOURNEY_DRIVE_C=$WINEPREFIX/drive_c
  JOURNEY_INSTALL=$JOURNEY_DRIVE_C/Program\ Files/Grabwell
  # The user's own profile, as Wine names it after the Unix user.
  JOURNEY_USER=$(winenv_as id -un)
  # shellcheck disable=SC2034  # for the journeys
  JOURNEY_PROFILE=$JOURNEY_DRIVE_C/users/$JOURNEY_USER JOURNEY_PROFILE_WIN="C:\\users\\$JOURNEY_USER"
  if ((standard)); then
    # The helpers from a folder that user can read, wherever the build is.
    cp "$GRABWELL_PROBE" "$GRABWELL_PATTERN" "$_JOURNEY_WORK/" || e2e_fail "no helpers"
    GRABWELL_PROBE=$_JOURNEY_WORK/${GRABWELL_PROBE##*/} GRABWELL_PATTERN=$_JOURNEY_WORK/${GRABWELL_PATTERN##*/}
    chmod -R a+rX "$_JOURNEY_WORK"
  fi
  ((install)) || return 0
  world_install "$exe" || e2e_fail "could not install the program"
  if ((standard)); then
    # What an installer leaves a standard user: the program folder, Program
    # Files and the Windows folder are read-only to them.
    { chmod -R a-w "$JOURNEY_INSTALL" && chmod a-w "$JOURNEY_DRIVE_C/Program Files" "$JOURNEY_DRIVE_C/windows"; } ||
      e2e_fail "could not take away write permission"
    ! winenv_as touch "$JOURNEY_INSTALL/Temp/write-test" 2>/dev/null ||
      e2e_fail "the standard user $JOURNEY_USER can write the program folder"
    step "as the standard user $JOURNEY_USER"
  fi
}

# journey_printer: a private CUPS PDF queue as the default printer, so that
# the print dialog shows a printer. Before journey_begin: Wine's spooler
# lists the printers when the program starts.
journey_printer() {
  # shellcheck source=../print/cups_env.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../print/cups_env.sh"
  cups_available || { echo "journey: needs cups and printer-driver-cups-pdf" >&2; exit 2; }
  _JOURNEY_CUPS=1
  # Until journey_begin's trap takes over, which ends it too.
  trap cups_down EXIT
  cups_up || { echo "journey: no private CUPS printer" >&2; exit 1; }
}

# fake_paint: Wine has no Paint. The "editor" registered for Paint.Picture
# (Wine's HKEY_CLASSES_ROOT is HKLM\Software\Classes only) writes down the
# file it was asked to edit in C:\edit-arg.txt and keeps a copy of it as
# C:\edit-copy.bmp.
fake_paint() {
  cat >"$_JOURNEY_WORK/paint.reg" <<'EOF'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Classes\Paint.Picture\shell\edit\command]
@="C:\\windows\\system32\\cmd.exe /c echo %1>C:\\edit-arg.txt& copy /y \"%1\" C:\\edit-copy.bmp"
EOF
  "$WINE" regedit /S "Z:${_JOURNEY_WORK//\//\\}\\paint.reg" >/dev/null 2>&1 || e2e_fail "regedit failed"
  # shellcheck disable=SC2034  # for the journeys
  PAINT_RECORD=$JOURNEY_DRIVE_C/edit-arg.txt
}
# Owned by the user Wine runs as, who must be able to write NAME.ran.
standin() { winenv_as sh -c 'mkdir -p "$1" && cat >"$1/$2"' sh "$1" "$2" <"${GRABWELL_STANDIN:?}"; }

probe() { "$WINE" "$GRABWELL_PROBE" "$@" 2>/dev/null | tr -d '\r'; }
pattern() { "$WINE" "$GRABWELL_PATTERN" "$@" 2>/dev/null | tr -d '\r'; }

# field LINE KEY: the value of KEY=value in a probe line (not for title).
field() { sed -n "s/.*[[:space:]]$2=\([^[:space:]]*\).*/\1/p; s/^$2=\([^[:space:]]*\).*/\1/p" <<<"$1" | head -n 1; }
# The window title runs up to " left=" and may itself hold spaces.
title_of() { sed -n 's/^found=1 title=\(.*\) left=.*/\1/p' <<<"$1"; }

# shot NAME: the whole screen as journey-<N>-<name>-NAME.png; prints the path.
shot() {
  local file
  file=$(e2e_shot "journey-$JOURNEY-$1") || e2e_fail "no screenshot for $1"
  printf 'journey %s: screenshot %s\n' "$JOURNEY" "$file" >&2
  printf '%s\n' "$file"
}

step() { printf 'journey %s: [%ss] %s\n' "$JOURNEY" "$((SECONDS - _JOURNEY_T0))" "$*" >&2; }

# pattern_up X Y W H: a window of known pixels there (for two minutes at
# most); pattern_down takes it away again.
pattern_up() {
  pattern show "$@" 120 </dev/null >/dev/null &
  e2e_wait_window '^grabwell pattern$' 30 >/dev/null || e2e_fail "the pattern window did not show"
  sleep 0.5
}
pattern_down() {
  pattern window GrabwellTestPattern close >/dev/null
  wait_for 10 window_gone '^grabwell pattern$' || e2e_fail "the pattern window stays up"
}

# start_menu_folders: Grabwell's Start-menu folders, as Windows paths under
# C:\ one a line: the common one, where Windows puts a per-machine
# package's shortcut, and the user's own (Wine's msiexec, every time).
start_menu_folders() {
  printf '%s\n' 'ProgramData\Microsoft\Windows\Start Menu\Programs\Grabwell' \
    "users\\$JOURNEY_USER\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Grabwell"
}
# start_menu_shortcut: prints C:\...\Grabwell.lnk if one of them holds it.
start_menu_shortcut() {
  local m
  while read -r m; do
    [[ -f $JOURNEY_DRIVE_C/${m//\\//}/Grabwell.lnk ]] && { printf 'C:\\%s\\Grabwell.lnk' "$m"; return 0; }
  done < <(start_menu_folders)
  return 1
}

main_window() { probe window 1; }
main_has() { [[ $(main_window) == *"$1"* ]]; }
main_gone() { [[ $(probe window 1) == found=0* ]]; }
title_is() { [[ $(title_of "$(main_window)") == "$1" ]]; }
scroll_has() { [[ $(probe scroll) == *"$1"* ]]; }
window_gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
# Keys typed now reach the main window: Wine gives the X keyboard focus back
# to its X window a while after a dialog has gone, and parks it on the
# desktop's meanwhile, where keys are lost even though the window is in front.
keys_reach_main() { title_is "$(xdotool getwindowfocus getwindowname 2>/dev/null)"; }

# grabwell_start: launches the installed program and waits until its window
# shows, is in front and no longer moves (the stored placement is applied
# one edge at a time after creation).
grabwell_start() {
  (cd "$JOURNEY_DRIVE_C" && world_launch) </dev/null \
    >>"$_JOURNEY_WORK/grabwell.log" 2>&1 &
  # shellcheck disable=SC2034  # for a journey that waits for the program's end
  GRABWELL_PID=$!
  local before='' now deadline
  deadline=$(_winenv_deadline 10)
  while :; do
    # Not up yet is a failed probe; under `set -e` that must not end the journey.
    now=$(probe window 1 || true)
    if [[ $now == *"visible=1"* && $now == *"foreground=1"* && $now == "$before" ]]; then
      return 0
    fi
    _winenv_before "$deadline" || break
    before=$now
    sleep 0.2
  done
  e2e_fail "Grabwell did not come up and settle: $now"
}

# Mouse and keyboard, paced so that Wine sees every event on its own. Points
# are Windows' screen coordinates; a world whose Windows (0, 0) is not the X
# screen's sets JOURNEY_ORIGIN_X to the X column it is at.
JOURNEY_ORIGIN_X=${JOURNEY_ORIGIN_X:-0}
mouse_to() { xdotool mousemove $(($1 + JOURNEY_ORIGIN_X)) "$2"; }
click() {
  mouse_to "$1" "$2"
  sleep 0.2
  xdotool click 1
}
# drag X0 Y0 X1 Y1: press, move there in five steps, release.
drag() {
  local x0=$1 y0=$2 x1=$3 y1=$4 i
  mouse_to "$x0" "$y0"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  for i in 1 2 3 4 5; do
    mouse_to $((x0 + (x1 - x0) * i / 5)) $((y0 + (y1 - y0) * i / 5))
    sleep 0.1
  done
  sleep 0.2
  xdotool mouseup 1
}
keys() {
  local k
  for k in "$@"; do
    xdotool key "$k"
    sleep 0.3
  done
}
type_text() { xdotool type --delay 20 "$1"; }

# toolbar_click N: the toolbar's button N (1-based). Buttons are 23 x 22
# pixels from the toolbar's left edge, 2 pixels down; gaps take a button's
# width, and the one separator (position 15) is 8 pixels wide, as measured
# on a screenshot from the hover frame of button 16.
toolbar_click() {
  local n=$1 line left top x
  line=$(probe toolbar || true)
  left=$(field "$line" left) top=$(field "$line" top)
  [[ -n $left ]] || e2e_fail "no toolbar: $line"
  x=$((left + (n - 1) * 23 + 11))
  ((n > 15)) && x=$((x - 23 + 8))
  click "$x" $((top + 2 + 11))
  # Off the toolbar, or its tooltip would stand in later screenshots.
  sleep 0.2
  xdotool mousemove 1020 760
}

# cover_ready: the free rectangle's cover is on the screen and the program
# is done putting it there: what a user waits for before pressing, as a press
# before it would go to whatever the cover is to hide.
cover_ready() { [[ $(pattern window GrabwellFreeRectangleOverlay) == *"shown yes"*"answers yes"* ]]; }

# free_rectangle X0 Y0 X1 Y1 [SECONDS]: arms the free rectangle from toolbar
# button 6, drags it out once the cover is up and waits for the picture of
# that size.
free_rectangle() {
  local seconds=${5:-10}
  activate_main
  toolbar_click 6
  wait_for "$seconds" cover_ready || e2e_fail "no cover over the screen: $(main_window)"
  drag "$1" "$2" "$3" "$4"
  wait_for "$((seconds * 2))" scroll_has "picwidth=$(($3 - $1)) picheight=$(($4 - $2))" ||
    e2e_fail "no $(($3 - $1))x$(($4 - $2)) free rectangle: $(probe scroll)"
}

# save_as WINDOWS_PATH [SECONDS]: Ctrl+S, the name typed into the save dialog;
# waits until the dialog is gone.
save_as() {
  activate_main
  keys ctrl+s
  wait_dialog '^保存$' "${2:-10}" >/dev/null
  type_text "$1"
  keys Return
  wait_for "${2:-10}" no_dialog || e2e_fail "the save dialog stayed: $(probe dialog)"
}

# open_picture WINDOWS_PATH [SECONDS]: Alt+F, O, the name typed into the open
# dialog; waits until the caption names the file.
open_picture() {
  activate_main
  keys alt+f o
  wait_dialog '^Open$' "${2:-10}" >/dev/null
  type_text "$1"
  keys Return
  wait_for "${2:-10}" main_has "title=Grabwell─[${1##*\\}(" || e2e_fail "$1 not opened: $(main_window)"
}

# Points on the main window's frame, from its probed rectangle.
caption_point() {
  local line
  line=$(main_window)
  echo $(($(field "$line" left) + $(field "$line" width) / 3)) $(($(field "$line" top) + 13))
}
close_box_point() {
  local line
  line=$(main_window)
  echo $(($(field "$line" left) + $(field "$line" width) - 15)) $(($(field "$line" top) + 13))
}
# A click on the caption brings the window to the front, as a user would
# after another program (an editor, Notepad) took it.
activate_main() {
  # shellcheck disable=SC2046
  click $(caption_point)
  wait_for 5 main_has "foreground=1" || e2e_fail "Grabwell did not come to the front"
  world_focus
}

# wait_dialog REGEX [SECONDS]: prints the probe line of the dialog box whose
# title matches.
wait_dialog() {
  local regex=$1 line deadline
  deadline=$(_winenv_deadline "${2:-10}")
  while :; do
    # No dialog yet is a failed probe; under `set -e` that must not end the journey.
    line=$(probe dialog || true)
    if [[ $line == found=1* ]]; then
      local title=${line#found=1 title=}
      title=${title%%$'\t'*}
      if [[ $title =~ $regex ]]; then
        printf '%s\n' "$line"
        return 0
      fi
    fi
    _winenv_before "$deadline" || break
    sleep 0.2
  done
  e2e_fail "no dialog titled /$regex/ (last seen: $line)"
}
no_dialog() { [[ $(probe dialog) == found=0* ]]; }

# bmp_header FILE: "WIDTH HEIGHT BITS" from a BMP file's header, or fails.
bmp_header() {
  [[ $(head -c 2 "$1") == BM ]] || return 1
  local w h bits
  w=$(od -An -t d4 -j 18 -N 4 "$1" | tr -d ' ')
  h=$(od -An -t d4 -j 22 -N 4 "$1" | tr -d ' ')
  bits=$(od -An -t u2 -j 28 -N 2 "$1" | tr -d ' ')
  echo "$w ${h#-} $bits"
}

# pixel FILE X Y: "R G B" of one pixel.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

JOURNEY_WORLD=${JOURNEY_WORLD:-plain}
if [[ $JOURNEY_WORLD != plain ]]; then
  # shellcheck source=/dev/null
  source "$_JOURNEY_LIB_DIR/worlds/$JOURNEY_WORLD.sh" || { echo "journey: no world $JOURNEY_WORLD" >&2; exit 2; }
fi
