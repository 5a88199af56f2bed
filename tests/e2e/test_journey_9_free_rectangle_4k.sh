#!/usr/bin/env bash
# A free rectangle on a 3840x2160 screen, the way a user takes one: toolbar
# button 6, the cover, a drag over another program's window of known pixels,
# Save. The clipboard and the saved picture must both hold exactly the
# pixels the drag framed: from the press's pixel up to, not including, the
# release's column and row.
set -euo pipefail
export JOURNEY_SCREEN=3840x2160
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin 9 free-rectangle-4k "${1:?usage: test_journey_9_free_rectangle_4k.sh Grabwell.exe}"
grabwell_start

# Clear of the main window, which starts near the top left.
pattern_up 1200 500 2500 1600
reference=$(shot reference)
free_rectangle 1301 601 3501 1901 30
want=$_JOURNEY_WORK/want.png
convert "$reference" -crop 2200x1300+1301+601 +repage "$want"

size=$(pattern clip "$_JOURNEY_WORK/clip.bmp") || e2e_fail "no bitmap on the clipboard"
[[ $size == 2200x1300 ]] || e2e_fail "the clipboard holds $size"
[[ $(differing "$_JOURNEY_WORK/clip.bmp" "$want") == 0 ]] ||
  e2e_fail "$(differing "$_JOURNEY_WORK/clip.bmp" "$want") clipboard pixels are not the screen's"

save_as 'C:\users\Public\drag.bmp' 30
saved=$JOURNEY_DRIVE_C/users/Public/drag.bmp
wait_for 30 test -s "$saved" || e2e_fail "nothing saved"
[[ $(differing "$saved" "$want") == 0 ]] ||
  e2e_fail "$(differing "$saved" "$want") pixels of the picture are not the screen's"
step "2200x1300 from (1301,601): clipboard and picture hold the pixels framed"
