#!/usr/bin/env bash
# The program folder also holds DLLs that someone left there, as a downloads
# folder would, under names that are asked for by name while the program
# runs: dwmapi.dll (the program's own, before every capture that hides its
# window) and propsys.dll (the picture decoder's, when a file is opened).
# Through start-up, every capture, the save, open and print dialogs and Edit
# in Paint, none of them may be loaded: each writes NAME.loaded if it is.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
planted_dll=${GRABWELL_PLANTED:?GRABWELL_PLANTED names the planted DLL (tests/e2e/planted)}
journey_printer
journey_begin 7 planted-dll "${1:?usage: test_journey_7_planted_dll.sh Grabwell.exe}"

planted=(dwmapi propsys)
for name in "${planted[@]}"; do
  cp "$planted_dll" "$JOURNEY_INSTALL/$name.dll" || e2e_fail "could not plant $name.dll"
  # Wine loads its own builtin of any DLL it ships, wherever the search finds
  # a file; "native,builtin" makes the first file on the search path win, as
  # it does on Windows.
  "$WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v "$name" /d native,builtin /f >/dev/null 2>&1 ||
    e2e_fail "no DLL override for $name"
done
fake_paint

# nothing_loaded WHEN: fails naming the planted DLLs that were loaded.
nothing_loaded() {
  local loaded
  loaded=$(cd "$JOURNEY_INSTALL" && ls -- *.loaded 2>/dev/null || true)
  [[ -z $loaded ]] || e2e_fail "$1: planted DLL loaded: $(echo $loaded)"
  step "$1: no planted DLL loaded"
}

grabwell_start
nothing_loaded "start-up"

step "every capture"
toolbar_click 5
wait_for 10 scroll_has "picwidth=1024 picheight=768" || e2e_fail "no whole screen: $(probe scroll)"
activate_main
toolbar_click 9
wait_for 10 scroll_has "picwidth=433 picheight=433" || e2e_fail "no window picture: $(probe scroll)"
activate_main
toolbar_click 8
wait_for 10 scroll_has "picwidth=425 picheight=387" || e2e_fail "no client-area picture: $(probe scroll)"
activate_main
toolbar_click 7
wait_dialog '^Grabwell$' >/dev/null
keys Return
wait_for 10 main_has "iconic=1" || e2e_fail "not minimised for the delayed capture: $(main_window)"
wait_for 10 main_has "iconic=0" || e2e_fail "not back after the delayed capture: $(main_window)"
free_rectangle 600 300 900 500
nothing_loaded "five captures"

save_as 'C:\users\Public\planted.bmp'
wait_for 10 test -s "$JOURNEY_DRIVE_C/users/Public/planted.bmp" || e2e_fail "nothing saved"
nothing_loaded "save dialog"

open_picture 'C:\users\Public\planted.bmp'
title_is 'Grabwell─[planted.bmp(300x200) ]' || e2e_fail "not the picture saved: $(main_window)"
nothing_loaded "open dialog, picture decoded"

keys alt+f p
line=$(wait_dialog '^Print$')
[[ $line == *"$CUPS_ENV_QUEUE"* ]] || e2e_fail "not the print dialog with its printer: $line"
shot print-dialog >/dev/null
keys Escape
wait_for 5 no_dialog || e2e_fail "the print dialog stayed: $(probe dialog)"
nothing_loaded "print dialog"

activate_main
keys alt+i Return
wait_for 15 test -s "$JOURNEY_DRIVE_C/edit-copy.bmp" || e2e_fail "the editor was not started"
nothing_loaded "Edit in Paint"
