#!/usr/bin/env bash
# A JPEG opened through Alt+F, O and the real open dialog: the caption names
# it with its size and the window shows its pixels. Then Image > Language to
# English and back to Chinese by the menus' access keys, with the About box
# in each language. As a standard user, who may not write the program folder.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin --standard-user 4 open-language "${1:?usage: test_journey_4_open_language.sh Grabwell.exe}"

pictures=$JOURNEY_DRIVE_C/users/Public/Pictures
mkdir -p "$pictures"
convert -size 320x240 gradient:red-blue ppm:- | cjpeg -quality 90 >"$pictures/holiday photo.jpg" ||
  e2e_fail "could not make a JPEG"
djpeg -bmp -outfile "$_JOURNEY_WORK/decoded.bmp" "$pictures/holiday photo.jpg"

grabwell_start

step "Alt+F, O: the open dialog"
keys alt+f o
wait_dialog '^Open$' >/dev/null
type_text 'C:\users\Public\Pictures\holiday photo.jpg'
sleep 0.3
shot open-dialog >/dev/null
keys Return
want='Grabwell─[holiday photo.jpg(320x240) ]'
wait_for 10 title_is "$want" ||
  e2e_fail "caption is '$(title_of "$(main_window)")', want '$want'"
wait_for 5 no_dialog || e2e_fail "a dialog stayed: $(probe dialog)"
line=$(probe scroll)
[[ $line == *"picwidth=320 picheight=240"* ]] || e2e_fail "the picture is not 320x240: $line"
file=$(shot opened)
convert "$file" -crop "320x240+$(field "$line" picleft)+$(field "$line" pictop)" +repage "$_JOURNEY_WORK/shown.png"
# The system's JPEG decoder against Debian's djpeg: the same library, but
# allow a step of rounding per channel.
diff=$(compare -metric AE -fuzz 2% "$_JOURNEY_WORK/shown.png" "$_JOURNEY_WORK/decoded.bmp" null: 2>&1 || true)
[[ $diff == 0 ]] || e2e_fail "$diff pixels shown differ from the JPEG's"
step "caption '$want', the JPEG's pixels in view"

# about TITLE TEXT: the About box opened by Alt+H, A has that title and text,
# and Return closes it.
about() {
  keys alt+h a
  local line
  line=$(wait_dialog "^$1\$")
  [[ $line == *"$2"* ]] || e2e_fail "About box without '$2': $line"
  e2e_wait_window "^$1\$" 5 >/dev/null || e2e_fail "no window named '$1' on the display"
  shot "about-$3" >/dev/null
  keys Return
  wait_for 5 no_dialog || e2e_fail "the About box did not close: $(probe dialog)"
  wait_for 5 keys_reach_main || e2e_fail "keys do not reach the window after the About box"
  step "About box '$1' with '$2', closed by Return"
}

step "Image > Language > English"
keys alt+i l
shot language-menu >/dev/null
keys e
# The language file's first line is the caption.
wait_for 5 title_is Grabwell || e2e_fail "caption: $(main_window)"
shot english >/dev/null
about 'About Grabwell' 'Written by the Grabwell developers' english

step "Image > Language > Chinese"
keys alt+i l c
shot chinese >/dev/null
about '关于Grabwell' '作者：Grabwell 开发组' chinese
