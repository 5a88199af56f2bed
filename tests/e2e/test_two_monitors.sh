#!/usr/bin/env bash
# Two monitors, the second one left of the primary (worlds/two-monitors.sh):
# the user moves the window onto the left monitor, and everything must come
# out right there, where screen coordinates are negative. Whole screen is
# the primary only; the free rectangle's cover spans both monitors and a
# drag on the left monitor, or across the boundary, takes exactly what was
# framed, with the band and its true size where the drag is; the delayed
# capture takes a window on the left monitor; the menu, the dialogs and the
# close question come up on the window's monitor; the window comes back
# there, and on the primary once the left monitor is gone.
set -euo pipefail
# shellcheck disable=SC2034  # read by journey_lib.sh
JOURNEY_WORLD=two-monitors
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin --standard-user 10 left-monitor "${1:?usage: test_two_monitors.sh Grabwell.exe}"
work=$_JOURNEY_WORK public=$JOURNEY_DRIVE_C/users/Public

# on_left_monitor "L,T,R,B": the rectangle lies wholly on the left monitor.
on_left_monitor() {
  local l t r b
  IFS=, read -r l t r b <<<"$1"
  ((l >= -800 && r <= 0 && t >= 0 && b <= 600))
}
rect_of() { sed -n 's/.*rect=\([-0-9,]*\).*/\1/p' <<<"$1"; }
# crop FILE L T R B OUT: Windows' screen area [L,R) x [T,B) of a screenshot.
crop() { convert "$1" -crop "$(($4 - $2))x$(($5 - $3))+$(($2 + JOURNEY_ORIGIN_X))+$3" +repage "$6"; }
same() { [[ $(differing "$1" "$2") == 0 ]]; }
# half N: N / 2 rounded to the nearest whole number, halves to the even one.
half() {
  local f=$((($1 - ($1 % 2 + 2) % 2) / 2))
  (($1 % 2 == 0 || f % 2 == 0)) || f=$((f + 1))
  echo "$f"
}

step "start, then move the window by its caption onto the left monitor"
grabwell_start
read -r cx cy < <(caption_point)
drag "$cx" "$cy" $((cx - 850)) $((cy + 40))
wait_for 5 main_has "left=-783 top=107 width=433 height=433" || e2e_fail "not moved: $(main_window)"

# Two windows of known pixels: one on the left monitor, one across the boundary.
pattern show -330 20 320 250 300 </dev/null >/dev/null &
pattern show -300 300 600 220 300 </dev/null >/dev/null &
two_patterns() { (($(xdotool search --onlyvisible --name '^grabwell pattern$' | wc -l) == 2)); }
wait_for 30 two_patterns || e2e_fail "the pattern windows did not show"
sleep 1
reference=$(shot reference)

step "whole screen: the primary monitor, from its own origin"
toolbar_click 5
wait_for 10 scroll_has "picwidth=1024 picheight=768" || e2e_fail "no 1024x768 picture: $(probe scroll)"
activate_main
keys ctrl+s
line=$(wait_dialog '^保存$')
on_left_monitor "$(rect_of "$line")" || e2e_fail "the save dialog is not on the window's monitor: $line"
type_text 'C:\users\Public\screen.bmp'
keys Return
wait_for 10 test -s "$public/screen.bmp" || e2e_fail "nothing saved"
crop "$reference" 0 0 1024 768 "$work/primary.png"
same "$public/screen.bmp" "$work/primary.png" ||
  e2e_fail "the whole screen is not the primary monitor: $(differing "$public/screen.bmp" "$work/primary.png") pixels differ"

# free_rectangle_on NAME L T R B: arms, drags from (L,T) to (R,B), and checks
# the band and label while dragging, then the clipboard and the picture.
free_rectangle_on() {
  local name=$1 l=$2 t=$3 r=$4 b=$5 i w=$(($4 - $2)) h=$(($5 - $3)) lw lh
  activate_main
  toolbar_click 6
  wait_for 10 cover_ready || e2e_fail "$name: no cover over the screen: $(main_window)"
  [[ $(pattern window GrabwellFreeRectangleOverlay) == "rect -800 0 1024 768 "*"shown yes"* ]] ||
    e2e_fail "$name: the cover does not span both monitors: $(pattern window GrabwellFreeRectangleOverlay)"
  crop "$(shot "$name-cover")" -330 20 300 520 "$work/cover.png"
  crop "$reference" -330 20 300 520 "$work/under.png"
  same "$work/cover.png" "$work/under.png" || e2e_fail "$name: the cover does not show the screen"
  mouse_to "$l" "$t"
  sleep 0.2
  xdotool mousedown 1
  for i in 1 2 3 4; do
    mouse_to $((l + w * i / 4)) $((t + h * i / 4))
    sleep 0.15
  done
  sleep 0.5
  # What the band changed: its one-pixel outline (at the corners, where two
  # strokes cross, inverted twice or not), and the label "WxH" centred on the
  # rectangle, its glyphs inverted and the box around them kept.
  local corners="point 0,0 point $((w - 1)),0 point 0,$((h - 1)) point $((w - 1)),$((h - 1))"
  crop "$(shot "$name-dragging")" "$l" "$t" "$r" "$b" "$work/band.png"
  crop "$reference" "$l" "$t" "$r" "$b" "$work/under.png"
  read -r lw lh < <(pattern label "${w}x${h}" 'C:\users\Public\label.bmp' | tr x ' ')
  convert "$work/band.png" "$work/under.png" -compose difference -composite -threshold 0 \
    -colorspace gray -compose over -fill black -draw "$corners" "$work/changed.png"
  convert -size "${w}x${h}" xc:black +antialias -fill none -stroke white -strokewidth 1 \
    -draw "rectangle 0,0 $((w - 1)),$((h - 1))" "$public/label.bmp" \
    -geometry "+$(($(half $((l + r - lw))) - l))+$(($(half $((t + b - lh))) - t))" -compose lighten -composite \
    -colorspace gray -compose over -fill black -stroke none -draw "$corners" "$work/band-want.png"
  same "$work/changed.png" "$work/band-want.png" ||
    e2e_fail "$name: not the band and a ${w}x${h} label: $(differing "$work/changed.png" "$work/band-want.png") pixels differ"
  xdotool mouseup 1
  wait_for 10 scroll_has "picwidth=$w picheight=$h" || e2e_fail "$name: no ${w}x${h} picture: $(probe scroll)"
  pattern clip 'C:\users\Public\clip.bmp' >/dev/null || e2e_fail "$name: no bitmap on the clipboard"
  crop "$reference" "$l" "$t" "$r" "$b" "$work/want.png"
  same "$public/clip.bmp" "$work/want.png" ||
    e2e_fail "$name: $(differing "$public/clip.bmp" "$work/want.png") pixels differ from what was framed"
  step "$name: ${w}x${h} from ($l,$t) as framed"
}
free_rectangle_on left-monitor -310 40 -30 262
free_rectangle_on across-the-boundary -200 330 200 500

step "delayed capture of the window on the left monitor"
activate_main
toolbar_click 7
line=$(wait_dialog '^Grabwell$')
on_left_monitor "$(rect_of "$line")" || e2e_fail "the prompt is not on the window's monitor: $line"
keys Return
wait_for 5 main_has "iconic=1" || e2e_fail "not minimised: $(main_window)"
# Within the two seconds, the user brings that window to the front.
click -170 145
wait_for 10 scroll_has "picwidth=320 picheight=250" || e2e_fail "not the window's picture: $(probe scroll)"
sleep 0.5
read -r _ pl pt _ < <(pattern window GrabwellPicture)
crop "$(shot delayed)" "$pl" "$pt" $((pl + 320)) $((pt + 250)) "$work/shown.png"
crop "$reference" -330 20 -10 270 "$work/want.png"
same "$work/shown.png" "$work/want.png" || e2e_fail "the delayed capture is not that window's pixels"

step "the menu and the Open dialog on the window's monitor"
activate_main
keys alt+f
wait_for 5 probe menu || e2e_fail "no menu"
on_left_monitor "$(rect_of "$(probe menu)")" || e2e_fail "the menu is not on the window's monitor: $(probe menu)"
keys o
line=$(wait_dialog '^Open$')
on_left_monitor "$(rect_of "$line")" || e2e_fail "the Open dialog is not on the window's monitor: $line"
keys Escape
wait_for 5 no_dialog || e2e_fail "the Open dialog stayed"
wait_for 5 keys_reach_main || e2e_fail "keys do not reach the window after the Open dialog"

step "the close question on the window's monitor; No closes"
keys alt+F4
line=$(wait_dialog '^Grabwell$')
on_left_monitor "$(rect_of "$line")" || e2e_fail "the question is not on the window's monitor: $line"
probe answer Grabwell no >/dev/null || e2e_fail "no No button: $(probe dialog)"
wait_for 10 main_gone || e2e_fail "still open: $(main_window)"
wait "$GRABWELL_PID" 2>/dev/null || true

step "start again: back on the left monitor"
grabwell_start
main_has "left=-783 top=107 width=433 height=433" || e2e_fail "not back where it was closed: $(main_window)"
shot back-on-left >/dev/null
keys alt+F4
wait_for 10 main_gone || e2e_fail "still open: $(main_window)"
wait "$GRABWELL_PID" 2>/dev/null || true

step "the left monitor unplugged: the next start is on the primary"
left_monitor off || e2e_fail "the left monitor stays"
grabwell_start
line=$(main_window)
left=$(field "$line" left) top=$(field "$line" top)
((left >= 0 && left + 433 <= 1024 && top >= 0 && top + 433 <= 768)) || e2e_fail "not on the primary: $line"
shot on-primary >/dev/null
