#!/usr/bin/env bash
# A free rectangle dragged with the real mouse from toolbar button 6, handed
# to "Paint" (the world's, which records what it was given), made the
# wallpaper with Ctrl+W (the desktop must show it) and cleared again with
# Ctrl+C. All as a standard user, who may write neither the program folder
# nor the Windows folder: both files go to the user's own
# %LOCALAPPDATA%\Grabwell, without a word to the user. Before Paint is
# there, Edit in Paint says so, and an mspaint.exe planted in the current
# folder and on PATH never runs.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin --standard-user 3 paint-wallpaper "${1:?usage: test_journey_3_paint_wallpaper.sh Grabwell.exe}"

# The program starts in C:\; Wine puts WINEPATH first on PATH.
standin "$JOURNEY_DRIVE_C" mspaint.exe && standin "$JOURNEY_DRIVE_C/planted" mspaint.exe ||
  e2e_fail "could not plant mspaint.exe"
export WINEPATH='C:\planted'
no_planted_run() { [[ ! -e $JOURNEY_DRIVE_C/mspaint.exe.ran && ! -e $JOURNEY_DRIVE_C/planted/mspaint.exe.ran ]]; }

wallpaper_value() {
  "$WINE" reg query 'HKCU\Control Panel\Desktop' /v Wallpaper 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Wallpaper *REG_SZ *//p'
}
wallpaper_set() { [[ -n $(wallpaper_value) ]]; }
wallpaper_cleared() { [[ -z $(wallpaper_value) ]]; }

step "known pixels on the right, Grabwell on the left"
# 420x300 from (560,240): clear of the main window (67..500) and under the
# middle of the screen, where the desktop centres a wallpaper.
pattern_up 560 240 420 300
reference=$(shot reference)
grabwell_start

step "free rectangle from toolbar button 6, dragged from (600,280) to (900,480)"
toolbar_click 6
wait_for 10 main_has "iconic=1" || e2e_fail "not minimised when armed: $(main_window)"
wait_for 10 cover_ready ||
  e2e_fail "nothing covers the screen while armed"
xdotool mousemove 600 280
sleep 0.2
xdotool mousedown 1
sleep 0.2
for p in "650 320" "750 400" "850 450" "900 480"; do
  # shellcheck disable=SC2086
  xdotool mousemove $p
  sleep 0.15
done
sleep 0.3
shot dragging >/dev/null
xdotool mouseup 1
wait_for 10 main_has "iconic=0" || e2e_fail "the window did not come back: $(main_window)"
wait_for 5 scroll_has "picwidth=300 picheight=200" ||
  e2e_fail "the picture is not 300x200: $(probe scroll)"
convert "$reference" -crop 300x200+600+280 +repage "$_JOURNEY_WORK/want.png"
pattern_down
shot captured >/dev/null

step "Image > Edit in Paint (Alt+I, first item), with no Paint yet"
activate_main
keys alt+i
shot image-menu >/dev/null
keys Return
[[ $(wait_dialog '^Grabwell$') == *无法用画图编辑图片* ]] || e2e_fail "no word that Paint could not start"
keys Return
no_planted_run || e2e_fail "a planted mspaint.exe ran"

step "Edit in Paint again, with the world's Paint"
fake_paint
activate_main
keys alt+i Return
wait_for 15 test -s "$PAINT_RECORD" || e2e_fail "the editor was not started"
arg=$(tr -d '\r"' <"$PAINT_RECORD" | sed 's/ *$//')
[[ $arg == "$JOURNEY_PROFILE_WIN\\AppData\\Local\\Grabwell\\Temp\\temp.bmp" ]] || e2e_fail "the editor got '$arg'"
[[ -s $JOURNEY_PROFILE/AppData/Local/Grabwell/Temp/temp.bmp ]] || e2e_fail "no per-user Temp\\temp.bmp"
[[ ! -e $JOURNEY_INSTALL/Temp/temp.bmp ]] || e2e_fail "a temp.bmp in the read-only program folder"
no_dialog || e2e_fail "Edit in Paint said something: $(probe dialog)"
no_planted_run || e2e_fail "a planted mspaint.exe ran"
diff=$(differing "$JOURNEY_PROFILE/AppData/Local/Grabwell/Temp/temp.bmp" "$_JOURNEY_WORK/want.png")
[[ $diff == 0 ]] || e2e_fail "$diff pixels of what the editor got differ from the dragged area"
step "the editor got $arg: the 300x200 dragged area"

step "Ctrl+W: the picture becomes the wallpaper"
# The editor's start took the front; the user clicks back into Grabwell.
activate_main
keys ctrl+w
wait_for 10 wallpaper_set || e2e_fail "no wallpaper in the registry"
value=$(wallpaper_value)
wall=$JOURNEY_PROFILE/AppData/Local/Grabwell/wallpaper.bmp
want_value="$JOURNEY_PROFILE_WIN\\AppData\\Local\\Grabwell\\wallpaper.bmp"
[[ ${value,,} == "${want_value,,}" && -s $wall ]] || e2e_fail "wallpaper is '$value'"
[[ ! -e $JOURNEY_DRIVE_C/windows/wallpaper.bmp ]] || e2e_fail "wallpaper.bmp in the read-only Windows folder"
[[ $(differing "$wall" "$_JOURNEY_WORK/want.png") == 0 ]] || e2e_fail "wallpaper.bmp is not the picture"
# Wine's desktop centres it: (362,284)-(662,484). The part right of the main
# window (which ends at x=500) must show the picture's own pixels.
convert "$_JOURNEY_WORK/want.png" -crop 161x200+139+0 +repage "$_JOURNEY_WORK/wall-part.png"
desktop_shows() {
  convert "$(shot "$1")" -crop 161x200+501+284 +repage "$_JOURNEY_WORK/desk-part.png"
  [[ $(differing "$_JOURNEY_WORK/desk-part.png" "$_JOURNEY_WORK/wall-part.png") == 0 ]]
}
wait_for 10 desktop_shows wallpaper || e2e_fail "the desktop does not show the picture (registry: $value)"
step "registry Wallpaper=$value, the desktop shows the picture centred"

step "Ctrl+C: the wallpaper is cleared"
keys ctrl+c
wait_for 10 wallpaper_cleared || e2e_fail "wallpaper still '$(wallpaper_value)'"
plain_desktop() {
  local file
  file=$(shot "$1")
  [[ $(pixel "$file" 600 384) == "$(pixel "$file" 1010 750)" && $(pixel "$file" 650 470) == "$(pixel "$file" 1010 750)" ]]
}
wait_for 10 plain_desktop cleared || e2e_fail "the desktop still shows a wallpaper"
step "registry Wallpaper empty, the desktop plain again"
