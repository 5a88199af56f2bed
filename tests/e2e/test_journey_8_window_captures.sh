#!/usr/bin/env bash
# Captures as the screen shows them, over a screen of known pixels: whole
# screen and the free rectangle hold nothing of Grabwell, not even a fading
# copy; Current window is the screen over Grabwell's visible frame; the
# delayed capture of a window drawn as a GPU draws it is the screen over that
# window's frame. In the composed world the frame leaves out the invisible
# borders (JOURNEY_FRAME_INSET), which that window paints in a marker colour.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin 8 window-captures "${1:?usage: test_journey_8_window_captures.sh Grabwell.exe}"
read -r inset_l inset_t inset_r inset_b <<<"${JOURNEY_FRAME_INSET:-0 0 0 0}"

# frame_of L T W H: the visible frame of the window at that rectangle, as WxH+X+Y.
frame_of() { echo "$(($3 - inset_l - inset_r))x$(($4 - inset_t - inset_b))+$(($1 + inset_l))+$(($2 + inset_t))"; }
# picture_is NAME SCREENSHOT WxH+X+Y [MASK]: the picture, saved, is that part of
# the screenshot pixel for pixel, but for the MASK rectangle ("x0,y0 x1,y1").
picture_is() {
  local saved=$JOURNEY_DRIVE_C/users/Public/$1.bmp want=$_JOURNEY_WORK/$1.png diff
  save_as "C:\\users\\Public\\$1.bmp"
  wait_for 10 test -s "$saved" || e2e_fail "$1: nothing saved"
  convert "$2" -crop "$3" +repage ${4:+-fill black -draw "rectangle $4"} "$want"
  convert "$saved" ${4:+-fill black -draw "rectangle $4"} "$want.saved.png"
  diff=$(differing "$want.saved.png" "$want")
  [[ $diff == 0 ]] || e2e_fail "$1: not the screen's $3: $diff"
  step "$1: the screen's $3, pixel for pixel"
}

step "a screen of known pixels, a window drawn by the GPU, Grabwell over them"
pattern_up 0 0 1024 768
pattern gpu 560 120 300 240 120 </dev/null >/dev/null &
e2e_wait_window '^grabwell gpu window$' 30 >/dev/null || e2e_fail "no GPU-drawn window"
sleep 0.5
backdrop=$(shot backdrop)
grabwell_start
line=$(main_window)
left=$(field "$line" left) top=$(field "$line" top) width=$(field "$line" width) height=$(field "$line" height)

step "whole screen"
toolbar_click 5
picture_is whole-screen "$backdrop" 1024x768+0+0

step "current window"
activate_main
before=$(shot before-current-window)
line=$(probe toolbar)
# Button 9 is hot or pressed in the picture, as the click left it.
button=$(($(field "$line" left) + 8 * 23 - left - inset_l)),$(($(field "$line" top) - top - inset_t))
toolbar_click 9
picture_is current-window "$before" "$(frame_of "$left" "$top" "$width" "$height")" \
  "$button $((${button%,*} + 23)),$((${button#*,} + 26))"

step "free rectangle over Grabwell"
free_rectangle "$left" "$top" $((left + width)) $((top + height))
picture_is free-rectangle "$backdrop" "${width}x${height}+$left+$top"

step "delayed capture of the GPU-drawn window, brought to the front meanwhile"
activate_main
toolbar_click 7
wait_dialog '^Grabwell$' >/dev/null
keys Return
click 710 180
read -r frame_w frame_h _ < <(frame_of 560 120 300 240 | tr 'x+' '  ')
wait_for 10 scroll_has "picwidth=$frame_w picheight=$frame_h" || e2e_fail "not the GPU-drawn window: $(probe scroll)"
shot delayed-capture >/dev/null
picture_is delayed-capture "$backdrop" "$(frame_of 560 120 300 240)"
