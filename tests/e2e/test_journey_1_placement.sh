#!/usr/bin/env bash
# A first start opens at the default place; the user drags the window by its
# caption, resizes it from the corner and closes it with the close box; the
# next start puts it back exactly there.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
journey_begin 1 placement "${1:?usage: test_journey_1_placement.sh Grabwell.exe}"

step "first start"
grabwell_start
line=$(main_window)
# 1000 twips is 67 pixels at 96 dpi; 6500 twips is 433.
[[ $line == *"left=67 top=67 width=433 height=433"* ]] || e2e_fail "not at the default placement: $line"
shot first-start >/dev/null

step "move by the caption, resize by the corner"
read -r cx cy < <(caption_point)
drag "$cx" "$cy" $((cx + 150)) $((cy + 90))
wait_for 5 main_has "left=217 top=157 width=433 height=433" || e2e_fail "not moved: $(main_window)"
# The frame's lower-right corner, two pixels inside.
drag 648 588 768 658
wait_for 5 main_has "left=217 top=157 width=553 height=503" || e2e_fail "not resized: $(main_window)"
shot moved-and-resized >/dev/null

step "close with the close box"
read -r bx by < <(close_box_point)
click "$bx" "$by"
# Nothing to save, so nothing may be asked: the window is simply gone.
wait_for 5 main_gone || e2e_fail "still open after the close box: $(main_window)"
no_dialog || e2e_fail "closing asked something: $(probe dialog)"
wait "$GRABWELL_PID" 2>/dev/null || true
shot closed >/dev/null

step "start again"
grabwell_start
line=$(main_window)
[[ $line == *"left=217 top=157 width=553 height=503"* ]] || e2e_fail "placement not restored: $line"
shot second-start >/dev/null
