#!/usr/bin/env bash
# Whole screen from toolbar button 5 over a screen full of known pixels;
# the picture is scrolled with the bars' arrows and tracks, the wheel, the
# keys and the thumbs dragged to either end, and after every move the pixels
# in view must be the screen's pixels at the scroll bars' offset. Each thumb
# is as long as the share of the picture in view. Ctrl+S saves through the
# real save dialog a BMP of the screen's size into the user's Documents. A
# picture 10,000 pixels wide gets a thin thumb whose drag to the end brings
# the far edge to the view's edge; closing then asks nothing. As a standard
# user, who may not write the program folder.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin --standard-user 2 scroll-save "${1:?usage: test_journey_2_scroll_save.sh Grabwell.exe}"

step "a screen of known pixels, then Grabwell"
pattern_up 0 0 1024 768
reference=$(shot reference)
grabwell_start

step "whole screen from toolbar button 5"
toolbar_click 5
wait_for 10 scroll_has "picwidth=1024 picheight=768" ||
  e2e_fail "no 1024x768 picture: $(probe scroll)"
wait_for 5 main_has "foreground=1" || e2e_fail "Grabwell did not come back: $(main_window)"
# The screen's pixels are in the picture now; the pattern leaves so that
# nothing else holds the keyboard.
pattern_down

bars=$(probe scroll)
hmax=$(field "$bars" hmax) vmax=$(field "$bars" vmax)
IFS=, read -r hl ht hr hb <<<"$(field "$bars" hrect)"
IFS=, read -r vl vt vr vb <<<"$(field "$bars" vrect)"
[[ $(field "$bars" hvisible)$(field "$bars" vvisible) == 11 ]] || e2e_fail "scroll bars missing: $bars"
# A page is a third of the view, in twips (15 to the pixel at 96 dpi).
page_h=$(((1024 * 15 - hmax) / 3)) page_v=$(((768 * 15 - vmax) / 3))
echo "bars: $bars (pages $page_h/$page_v twips)"

at_position() { [[ $(probe scroll) == *"hpos=$1 "*"vpos=$2 "* ]]; }

# expect NAME H V: the bars reach H and V twips, and what the viewport shows
# is the reference screen from the picture's probed position.
expect() {
  local name=$1 h=$2 v=$3 line file pl pt diff
  wait_for 5 at_position "$h" "$v" ||
    e2e_fail "$name: want hpos=$h vpos=$v, have $(probe scroll)"
  line=$(probe scroll)
  pl=$(field "$line" picleft) pt=$(field "$line" pictop)
  file=$(shot "$name")
  local w=$((vl - hl)) hgt=$((ht - vt))
  convert "$file" -crop "${w}x${hgt}+${hl}+${vt}" +repage "$_JOURNEY_WORK/shown.png"
  convert "$reference" -crop "${w}x${hgt}+$((hl - pl))+$((vt - pt))" +repage "$_JOURNEY_WORK/want.png"
  diff=$(differing "$_JOURNEY_WORK/shown.png" "$_JOURNEY_WORK/want.png")
  [[ $diff == 0 ]] || e2e_fail "$name: $diff pixels in view are not the screen's at ($((hl - pl)),$((vt - pt)))"
  step "$name: h=$h v=$v, view shows the screen from ($((hl - pl)),$((vt - pt)))"
}
expect captured 0 0

step "scroll bars: arrows and tracks"
bar_w=$((vr - vl)) bar_h=$((hb - ht))
click $(((vl + vr) / 2)) $((vb - bar_w / 2))
expect v-arrow 0 15
click $(((vl + vr) / 2)) $((vb - 2 * bar_w))
expect v-track 0 $((15 + page_v))
click $((hr - bar_h / 2)) $(((ht + hb) / 2))
expect h-arrow 15 $((15 + page_v))
click $((hr - 2 * bar_h)) $(((ht + hb) / 2))
expect h-track $((15 + page_h)) $((15 + page_v))

step "mouse wheel"
# Three lines a notch (the system's default), sixteen pixels a line.
xdotool mousemove $(((hl + vl) / 2)) $(((vt + ht) / 2))
sleep 0.2
xdotool click 5
expect wheel-down $((15 + page_h)) $((15 + page_v + 720))
xdotool click 4
expect wheel-up $((15 + page_h)) $((15 + page_v))

step "keys"
keys Down
expect key-down $((15 + page_h)) $((30 + page_v))
keys Right
expect key-right $((30 + page_h)) $((30 + page_v))
keys Next
expect key-pgdn $((30 + page_h)) $((30 + 2 * page_v))
keys End
expect key-end $((30 + page_h)) "$vmax"
keys ctrl+End
expect key-ctrl-end "$hmax" "$vmax"
keys Home
expect key-home "$hmax" 0

# thumb_at AXIS: "FIRST LAST TRACK", the thumb's ends in pixels from the
# bar's left or top edge and the track's length between the arrows, read off
# the screen along the bar's middle. The track is drawn as a checker of white
# and a light grey, the thumb as a flat face between two darker edges.
thumb_at() {
  local line l t r b arrow length crop
  line=$(probe scroll)
  IFS=, read -r l t r b <<<"$(field "$line" "$1rect")"
  arrow=$(field "$line" "$1arrow")
  if [[ $1 == h ]]; then
    length=$((r - l)) crop="${length}x1+$l+$(((t + b) / 2))"
  else
    length=$((b - t)) crop="1x$length+$(((l + r) / 2))+$t"
  fi
  winenv_screenshot "$_JOURNEY_WORK/bar.png" || e2e_fail "no screenshot of the $1 bar"
  convert "$_JOURNEY_WORK/bar.png" -crop "$crop" +repage txt:- |
    awk -v axis="$1" -v from="$arrow" -v to=$((length - arrow)) '
      NR > 1 {
        split($1, at, /[,:]/)
        i = axis == "h" ? at[1] : at[2]
        if (i >= from && i < to && $3 != "#FFFFFF" && $3 != "#F5F5F5") { if (first == "") first = i; last = i }
      }
      END { print first, last, to - from }'
}
# thumb_share AXIS PICTURE VIEW: the thumb takes the share of the track that
# the view takes of the picture, give or take the control's rounding.
thumb_share() {
  local t0 t1 track want
  read -r t0 t1 track < <(thumb_at "$1")
  [[ -n $track ]] || e2e_fail "no $1 thumb on the screen: $(probe scroll)"
  want=$((track * $3 / $2))
  ((t1 - t0 + 1 >= want - 2 && t1 - t0 + 1 <= want + 2)) ||
    e2e_fail "$1 thumb of $((t1 - t0 + 1)) pixels, want $want of $track: $(probe scroll)"
  step "$1 thumb $((t1 - t0 + 1)) of $track pixels for $3 of $2 in view"
}
# thumb_drag AXIS start|end: drags that bar's thumb past the bar's end, along it.
thumb_drag() {
  local t0 t1 track l t r b x y
  read -r t0 t1 track < <(thumb_at "$1")
  [[ -n $track ]] || e2e_fail "no $1 thumb to drag: $(probe scroll)"
  IFS=, read -r l t r b <<<"$(field "$(probe scroll)" "$1rect")"
  if [[ $1 == h ]]; then
    x=$((l + (t0 + t1) / 2)) y=$(((t + b) / 2))
    if [[ $2 == end ]]; then drag "$x" "$y" $((r + 20)) "$y"; else drag "$x" "$y" $((l - 20)) "$y"; fi
  else
    x=$(((l + r) / 2)) y=$((t + (t0 + t1) / 2))
    if [[ $2 == end ]]; then drag "$x" "$y" "$x" $((b + 20)); else drag "$x" "$y" "$x" $((t - 20)); fi
  fi
}

step "thumbs: their length, and dragged to either end"
thumb_share h 1024 $((vl - hl))
thumb_share v 768 $((ht - vt))
thumb_drag v end
expect v-thumb-end "$hmax" "$vmax"
thumb_drag h start
expect h-thumb-start 0 "$vmax"
thumb_drag h end
expect h-thumb-end "$hmax" "$vmax"
thumb_drag v start
expect v-thumb-start "$hmax" 0

step "Ctrl+S into the real save dialog"
keys ctrl+s
wait_dialog '^保存$' >/dev/null
shot save-dialog >/dev/null
type_text "$JOURNEY_PROFILE_WIN\\Documents\\screen.bmp"
sleep 0.3
shot save-dialog-named >/dev/null
keys Return
saved=$JOURNEY_PROFILE/Documents/screen.bmp
wait_for 10 test -s "$saved" || e2e_fail "nothing saved at $saved"
wait_for 5 no_dialog || e2e_fail "a dialog stayed after saving: $(probe dialog)"
wait_for 5 keys_reach_main || e2e_fail "keys do not reach the window after saving"
read -r bw bh bits < <(bmp_header "$saved") || e2e_fail "not a BMP: $(head -c 16 "$saved" | od -An -c)"
[[ "$bw $bh" == "1024 768" ]] || e2e_fail "saved BMP is ${bw}x${bh}"
((bits == 24 || bits == 32)) || e2e_fail "saved BMP has $bits bits a pixel"
diff=$(differing "$saved" "$reference")
[[ $diff == 0 ]] || e2e_fail "$diff pixels of the saved file differ from the screen"
step "saved ${bw}x${bh}x${bits} BMP, $(stat -c %s "$saved") bytes, equal to the screen"

step "a picture 10,000 pixels wide: a thin thumb, dragged to the end"
convert -size 200x10000 gradient:navy-gold -rotate -90 -type TrueColor BMP3:"$JOURNEY_DRIVE_C/users/Public/wide.bmp" ||
  e2e_fail "could not make a wide BMP"
keys alt+f o
wait_dialog '^Open$' >/dev/null
type_text 'C:\users\Public\wide.bmp'
sleep 0.3
keys Return
want='Grabwell─[wide.bmp(10000x200) ]'
wait_for 10 title_is "$want" || e2e_fail "caption is '$(title_of "$(main_window)")', want '$want'"
wait_for 5 no_dialog || e2e_fail "a dialog stayed: $(probe dialog)"
bars=$(probe scroll)
[[ $(field "$bars" hvisible)$(field "$bars" vvisible) == 10 ]] || e2e_fail "want only the horizontal bar: $bars"
IFS=, read -r view_l _ view_r _ <<<"$(field "$bars" view)"
wide_max=$(field "$bars" hmax)
((wide_max == (10000 - (view_r - view_l)) * 15)) || e2e_fail "Max is not the picture less the view: $bars"
thumb_share h 10000 $((view_r - view_l))
shot thin-thumb >/dev/null
thumb_drag h end
wait_for 5 at_position "$wide_max" 0 || e2e_fail "the drag did not reach Max: $(probe scroll)"
bars=$(probe scroll)
(($(field "$bars" picleft) + 10000 == view_r)) ||
  e2e_fail "the far edge is not at the view's edge ($view_r): $bars"
shot thin-thumb-end >/dev/null
step "a $((view_r - view_l))-pixel view of 10,000: Max $wide_max reached, far edge at the view's edge"

step "close: nothing to ask after the save"
read -r bx by < <(close_box_point)
click "$bx" "$by"
wait_for 3 main_gone || e2e_fail "still open after the close box: $(main_window)"
no_dialog || e2e_fail "closing asked something: $(probe dialog)"
shot closed >/dev/null
