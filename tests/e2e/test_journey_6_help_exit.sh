#!/usr/bin/env bash
# Help from toolbar button 16 opens readme.txt in Notepad; the user moves
# Notepad aside, clicks back into Grabwell and exits with Ctrl+Q: Grabwell
# and the Notepad it opened are gone, and Exit stored no placement.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin 6 help-exit "${1:?usage: test_journey_6_help_exit.sh Grabwell.exe}"

notepads() { field "$(probe process notepad.exe)" count; }
no_notepad() { [[ $(notepads) == 0 ]]; }

# Notepad on a Chinese Windows writes in a font with Chinese glyphs; Wine's
# Notepad starts in System, a bitmap font that font links do not reach.
"$WINE" reg add 'HKCU\Software\Microsoft\Notepad' /v lfFaceName /d "${WINEPREFIX_CJK_FONT#*,}" /f \
  >/dev/null 2>&1 || e2e_fail "could not set Notepad's font"

grabwell_start
step "Help from toolbar button 16"
toolbar_click 16
notepad=$(e2e_wait_window '^readme\.txt - Notepad$' 15) || e2e_fail "no Notepad with readme.txt"
[[ $(notepads) == 1 ]] || e2e_fail "$(notepads) notepad.exe processes"
shot notepad >/dev/null

step "Notepad aside by its caption, back into Grabwell, Ctrl+Q"
# Notepad opens over Grabwell; its caption is at the top of its frame.
nx=$(xwininfo -id "$notepad" | sed -n 's/.*Absolute upper-left X: *//p')
ny=$(xwininfo -id "$notepad" | sed -n 's/.*Absolute upper-left Y: *//p')
drag $((nx + 200)) $((ny + 10)) $((nx + 520)) $((ny + 410))
sleep 0.3
activate_main
shot before-exit >/dev/null
keys ctrl+q
wait_for 5 main_gone || e2e_fail "Grabwell still open after Ctrl+Q: $(main_window)"
wait_for 5 window_gone Notepad || e2e_fail "a Notepad window is still up"
wait_for 5 no_notepad || e2e_fail "$(notepads) notepad.exe still running"
# Exit leaves without the close-time path: nothing was stored.
if "$WINE" reg query 'HKCU\Software\Grabwell\Settings' >/dev/null 2>&1; then
  e2e_fail "Exit stored a placement"
fi
shot exited >/dev/null
step "Grabwell, the Notepad window and notepad.exe gone; no placement stored"
