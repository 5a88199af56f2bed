#!/usr/bin/env bash
# An unsaved capture (toolbar button 9, the window itself) and three tries to
# close it with Alt+F4: Cancel (Escape) keeps it open; Yes with the save
# dialog cancelled keeps it open; Yes with a name saves and only then closes.
# Then the session ends twice over a new unsaved capture (a log-off, sent by
# `wineboot --end-session`): Cancel keeps the program running with its
# placement written, and No lets the session end the program.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin 5 close-question "${1:?usage: test_journey_5_close_question.sh Grabwell.exe}"

grabwell_start
step "current window from toolbar button 9"
toolbar_click 9
wait_for 5 scroll_has "picwidth=433 picheight=433" ||
  e2e_fail "no 433x433 picture of the window: $(probe scroll)"
shot captured >/dev/null

# ask NAME: Alt+F4, and the question about the unsaved picture must come.
ask() {
  keys alt+F4
  local line
  line=$(wait_dialog '^Grabwell$')
  [[ $line == *"文件还没有保存，您要保存吗?"* ]] || e2e_fail "$1: not the save question: $line"
  shot "$1-question" >/dev/null
}
still_open() {
  wait_for 5 no_dialog || e2e_fail "$1: a dialog is still up: $(probe dialog)"
  sleep 0.5
  main_has "visible=1" || e2e_fail "$1: the window closed"
  wait_for 5 keys_reach_main || e2e_fail "$1: keys do not reach the window: $(xdotool getwindowfocus getwindowname)"
  shot "$1-still-open" >/dev/null
  step "$1: still open"
}

step "Alt+F4, Cancel (Escape)"
ask cancel
keys Escape
still_open cancel

step "Alt+F4, Yes (Return), save dialog cancelled (Escape)"
ask yes-cancelled
keys Return
wait_dialog '^保存$' >/dev/null
shot yes-cancelled-save-dialog >/dev/null
keys Escape
still_open yes-cancelled

step "Alt+F4, Yes (Return), saved under a name"
ask yes-saved
keys Return
wait_dialog '^保存$' >/dev/null
type_text 'C:\users\Public\closing.bmp'
sleep 0.3
shot yes-saved-save-dialog >/dev/null
keys Return
wait_for 5 main_gone || e2e_fail "still open after saving: $(main_window)"
no_dialog || e2e_fail "something was asked after the save: $(probe dialog)"
saved=$JOURNEY_DRIVE_C/users/Public/closing.bmp
read -r bw bh bits < <(bmp_header "$saved") || e2e_fail "no BMP at $saved"
[[ "$bw $bh" == "433 433" ]] || e2e_fail "saved BMP is ${bw}x${bh}"
shot closed >/dev/null
step "saved ${bw}x${bh}x${bits} BMP, then the window closed"

# end_session: a log-off as Windows sends it, from wineboot in the background
# (its pid in ENDING). It reaches only the windows of its own desktop; the
# journey's prefix has the program's desktop as its default.
end_session() {
  "$WINE" wineboot --end-session </dev/null >>"$_JOURNEY_WORK/wineboot.log" 2>&1 &
  ENDING=$!
}
ended() { ! kill -0 "$ENDING" 2>/dev/null; }
stored() {
  "$WINE" reg query 'HKCU\Software\Grabwell\Settings' /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_SZ *//p"
}

step "start again, capture, move the window by its caption"
grabwell_start
toolbar_click 9
wait_for 5 scroll_has "picwidth=433 picheight=433" ||
  e2e_fail "no 433x433 picture of the window: $(probe scroll)"
read -r cx cy < <(caption_point)
drag "$cx" "$cy" $((cx + 150)) $((cy + 90))
wait_for 5 main_has "left=217 top=157 width=433 height=433" || e2e_fail "not moved: $(main_window)"

step "session end: the question, wineboot's own box over it after ~5 s, Cancel"
end_session
line=$(wait_dialog '^Grabwell$')
[[ $line == *"文件还没有保存，您要保存吗?"* ]] || e2e_fail "session end: not the save question: $line"
wait_dialog '^Waiting for Program$' 15 >/dev/null
shot session-end-question >/dev/null
probe answer Grabwell cancel >/dev/null || e2e_fail "no Cancel button on the question: $(probe dialog)"
wait_for 10 ended || e2e_fail "wineboot still waits after Cancel: $(probe dialog)"
wait_for 5 no_dialog || e2e_fail "a dialog is still up: $(probe dialog)"
main_has "visible=1" || e2e_fail "the session end closed the window"
# 217 and 157 pixels are 3255 and 2355 twips at 96 dpi.
[[ "$(stored MainLeft) $(stored MainTop)" == "3255 2355" ]] ||
  e2e_fail "placement not written at the session end: $(stored MainLeft) $(stored MainTop)"
shot session-end-cancelled >/dev/null
step "session end cancelled: still running, placement written"

step "session end again: No"
end_session
wait_dialog '^Grabwell$' >/dev/null
probe answer Grabwell no >/dev/null || e2e_fail "no No button on the question: $(probe dialog)"
wait_for 10 main_gone || e2e_fail "still open after No: $(main_window)"
wait_for 10 ended || e2e_fail "wineboot did not finish"
wait "$GRABWELL_PID" || e2e_fail "the program ended with status $?"
[[ $(probe process Grabwell.exe) == count=0 ]] || e2e_fail "Grabwell.exe still runs"
shot session-ended >/dev/null
step "the session end with No ended the program"
