#!/usr/bin/env bash
# Help from toolbar button 16 opens readme.txt in Notepad; the user moves
# Notepad aside, clicks back into Grabwell and exits with Ctrl+Q: Grabwell
# and the Notepad it opened are gone, and Exit stored no placement. Again
# with a line typed into Notepad: Notepad stays, asking whether to save. On
# Windows 11 the Notepad showing the readme is not the one Grabwell started,
# and Exit leaves it alone.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin 6 help-exit "${1:?usage: test_journey_6_help_exit.sh Grabwell.exe}"

notepads() { field "$(probe process notepad.exe)" count; }
one_notepad() { [[ $(notepads) == 1 ]]; }
no_notepad() { [[ $(notepads) == 0 ]]; }
# notepad_aside ID: Notepad, which opens over Grabwell, dragged by its
# caption until its top-left corner is at (320,400), clear of Grabwell's.
notepad_aside() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  drag $((X + 200)) $((Y + 10)) 520 410
  sleep 0.3
}

# Notepad on a Chinese Windows writes in a font with Chinese glyphs; Wine's
# Notepad starts in System, a bitmap font that font links do not reach.
"$WINE" reg add 'HKCU\Software\Microsoft\Notepad' /v lfFaceName /d "${WINEPREFIX_CJK_FONT#*,}" /f \
  >/dev/null 2>&1 || e2e_fail "could not set Notepad's font"

grabwell_start
step "Help from toolbar button 16"
toolbar_click 16
notepad=$(e2e_wait_window '^readme\.txt - Notepad$' 15) || e2e_fail "no Notepad with readme.txt"
wait_for 5 one_notepad || e2e_fail "$(notepads) notepad.exe processes"
shot notepad >/dev/null

step "Notepad aside by its caption, back into Grabwell, Ctrl+Q"
notepad_aside "$notepad"
activate_main
shot before-exit >/dev/null
keys ctrl+q
wait_for 5 main_gone || e2e_fail "Grabwell still open after Ctrl+Q: $(main_window)"
if [[ $JOURNEY_WORLD == win11 ]]; then
  sleep 2
  ! window_gone '^readme\.txt - Notepad$' && one_notepad && no_dialog ||
    e2e_fail "the Notepad that Grabwell did not start was closed, or an error: $(probe dialog)"
else
  wait_for 5 window_gone Notepad || e2e_fail "a Notepad window is still up"
  wait_for 5 no_notepad || e2e_fail "$(notepads) notepad.exe still running"
fi
# Exit leaves without the close-time path: nothing was stored.
if "$WINE" reg query 'HKCU\Software\Grabwell\Settings' >/dev/null 2>&1; then
  e2e_fail "Exit stored a placement"
fi
shot exited >/dev/null
step "Grabwell gone, no placement stored"
[[ $JOURNEY_WORLD == win11 ]] && exit 0

step "again: Help, a line typed into Notepad, Ctrl+Q"
grabwell_start
toolbar_click 16
notepad=$(e2e_wait_window '^readme\.txt - Notepad$' 15) || e2e_fail "no Notepad with readme.txt"
notepad_aside "$notepad"
click 420 520
keys ctrl+End
type_text "my own note"
activate_main
keys ctrl+q
wait_for 5 main_gone || e2e_fail "Grabwell still open after Ctrl+Q: $(main_window)"
[[ $(wait_dialog '^Notepad$') == *readme* ]] || e2e_fail "Notepad does not ask to save the readme"
one_notepad || e2e_fail "$(notepads) notepad.exe running"
shot typed-exit >/dev/null
step "Grabwell gone; Notepad asks whether to save what was typed"
