#!/usr/bin/env bash
# An unsaved capture (toolbar button 9, the window itself) and three tries to
# close it with Alt+F4: Cancel (Escape) keeps it open; Yes with the save
# dialog cancelled keeps it open; Yes with a name saves and only then closes.
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
