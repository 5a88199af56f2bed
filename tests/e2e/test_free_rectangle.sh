#!/usr/bin/env bash
# Free-rectangle capture with the real mouse: a window of known pixels on the
# screen, the command armed from the menu's access keys, a drag to the lower
# right (from a maximised window) while that window changes colour beneath
# the cover, one to the upper left after the main window's mouse capture was
# taken away as Windows does when it deactivates a window, and a click on one
# point. The clipboard must hold exactly the pixels shown while framing, from
# the normalised left/top up to, not including, right/bottom; the picture
# shown must equal the clipboard; the window must come back normal.
#
#   test_free_rectangle.sh PATH/TO/Grabwell.exe
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

exe=${1:?usage: test_free_rectangle.sh PATH/TO/Grabwell.exe}
build=$(cd "$(dirname "$exe")/.." && pwd)
helper_exe=${GRABWELL_PATTERN:-$build/tests/e2e/pattern/grabwell_pattern.exe}
[[ -f $helper_exe ]] || e2e_fail "no helper at $helper_exe (tests/e2e/pattern not built)"
[[ -n ${DISPLAY:-} && -n ${WINEPREFIX:-} ]] || e2e_fail "run inside the Wine world of scripts/test"
wine=${WINE:-/usr/lib/wine/wine64}
work=$(mktemp -d "${TMPDIR:-/tmp}/grabwell-e2e-rect.XXXXXX")
export GRABWELL_ARTIFACTS=${GRABWELL_ARTIFACTS:-$work/artifacts}
mkdir -p "$GRABWELL_ARTIFACTS"

pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# The helper through wine-exec, which turns our absolute paths into Z:\ ones.
helper() { "$root/scripts/lib/wine-exec" "$helper_exe" "$@" 2>/dev/null | tr -d '\r'; }

# window_field CLASS FIELD [ACTION]: one word of the helper's "window" line,
# after the action if any; FIELD is rect, visible (four numbers each), state,
# shown or capture.
window_field() {
  local line
  line=$(helper window "$1" ${3:+"$3"}) || return 1
  case $2 in
    rect) awk '{ print $2, $3, $4, $5 }' <<<"$line" ;;
    visible) awk '{ print $7, $8, $9, $10 }' <<<"$line" ;;
    state) awk '{ print $12 }' <<<"$line" ;;
    shown) awk '{ print $14 }' <<<"$line" ;;
    capture) awk '{ print $16 }' <<<"$line" ;;
  esac
}

main_is() { [[ $(window_field GrabwellMainWindow state) == "$1" ]]; }
# Up, and done being put up: a press now reaches it.
overlay_up() { [[ $(helper window GrabwellFreeRectangleOverlay) == *"shown yes"*"answers yes"* ]]; }

arm() {
  local l t r b
  read -r l t r b < <(window_field GrabwellMainWindow rect)
  # Focus through the caption (away from its icon and buttons), then the
  # menu's access keys: Capture, Free capture.
  xdotool mousemove $((l + (r - l) / 3)) $((t + 12)) click 1
  sleep 0.4
  xdotool key alt+c
  sleep 0.5
  xdotool key d
  wait_for 10 main_is minimized || e2e_fail "$1: the window did not minimise when armed"
  wait_for 10 overlay_up || e2e_fail "$1: nothing covers the screen while armed"
}

# drag NAME X0 Y0 [X Y]...: press at the first point, move through the
# others, release at the last one. A command in $during_drag runs after the
# first move.
drag() {
  local name=$1 x0=$2 y0=$3
  shift 3
  xdotool mousemove "$x0" "$y0"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  while (($# >= 2)); do
    xdotool mousemove "$1" "$2"
    sleep 0.15
    shift 2
    if [[ -n ${during_drag:-} ]]; then
      $during_drag || e2e_fail "$name: $during_drag failed"
      during_drag=
      sleep 0.3
    fi
  done
  sleep 0.2
  e2e_shot "free-rectangle-$name-dragging" >/dev/null
  xdotool mouseup 1
  wait_for 10 main_is normal || e2e_fail "$name: the window is $(window_field GrabwellMainWindow state), not normal"
}

# expect_capture NAME L T R B: clipboard and picture hold reference [L,R) x [T,B).
expect_capture() {
  local name=$1 l=$2 t=$3 r=$4 b=$5
  local w=$((r - l)) h=$((b - t)) size diff
  size=$(helper clip "$work/$name.bmp") || e2e_fail "$name: no bitmap on the clipboard"
  [[ $size == "${w}x${h}" ]] || e2e_fail "$name: clipboard holds $size, want ${w}x${h}"
  convert "$reference" -crop "${w}x${h}+${l}+${t}" +repage "$work/$name-want.png"
  diff=$(differing "$work/$name.bmp" "$work/$name-want.png")
  [[ $diff == 0 ]] || e2e_fail "$name: $diff clipboard pixels differ from the screen's"

  sleep 0.5
  local shot rl rt rr rb vl vt vr vb
  shot=$(e2e_shot "free-rectangle-$name-after")
  read -r rl rt rr rb < <(window_field GrabwellPicture rect)
  read -r vl vt vr vb < <(window_field GrabwellPicture visible)
  [[ $((rr - rl))x$((rb - rt)) == "${w}x${h}" ]] ||
    e2e_fail "$name: the picture is $((rr - rl))x$((rb - rt)), the clipboard ${w}x${h}"
  ((vr > vl && vb > vt)) || e2e_fail "$name: no part of the picture is in view"
  convert "$shot" -crop "$((vr - vl))x$((vb - vt))+${vl}+${vt}" +repage "$work/$name-shown.png"
  convert "$work/$name.bmp" -crop "$((vr - vl))x$((vb - vt))+$((vl - rl))+$((vt - rt))" +repage \
    "$work/$name-clip-part.png"
  diff=$(differing "$work/$name-shown.png" "$work/$name-clip-part.png")
  [[ $diff == 0 ]] || e2e_fail "$name: $diff pixels of the picture shown differ from the clipboard"
  echo "e2e: $name ok: ${w}x${h} from ($l,$t)"
}

"$wine" "$exe" </dev/null >"$work/grabwell.log" 2>&1 &
grabwell_pid=$!
pids+=("$grabwell_pid")
e2e_wait_window '^Grabwell$' 30 >/dev/null || e2e_fail "Grabwell did not start"
wait_for 10 main_is normal || wait_for 5 main_is maximized || e2e_fail "no main window"

# Pattern on the right half, clear of the main window's usual place.
"$wine" "$helper_exe" show 600 100 400 300 300 </dev/null >"$work/pattern.log" 2>&1 &
pids+=("$!")
e2e_wait_window '^grabwell pattern$' 30 >/dev/null || e2e_fail "the pattern window did not show"
sleep 0.5
reference=$(e2e_shot free-rectangle-reference)

# pattern_changed MIN MAX: between MIN and MAX pixels of the pattern's area
# on the screen differ from the reference.
pattern_area=400x300+600+100
pattern_changed() {
  local shot n
  shot=$(e2e_shot free-rectangle-pattern-now) || return 1
  convert "$shot" -crop "$pattern_area" +repage "$work/pattern-now.png"
  convert "$reference" -crop "$pattern_area" +repage "$work/pattern-was.png"
  n=$(differing "$work/pattern-now.png" "$work/pattern-was.png")
  [[ $n =~ ^[0-9]+$ ]] && ((n >= $1 && n <= $2))
}

# To the lower right, from a maximised window; beneath the cover the pattern
# turns to its inverse meanwhile, and the capture is still what was framed.
helper window GrabwellMainWindow maximize >/dev/null
wait_for 5 main_is maximized || e2e_fail "could not maximise the main window"
arm lower-right
during_drag="helper invert"
drag lower-right 640 130 660 150 720 200 800 260 853 311
expect_capture lower-right 640 130 853 311
wait_for 5 pattern_changed 60000 120000 || e2e_fail "lower-right: the pattern never changed colour"
helper invert >/dev/null || e2e_fail "the pattern cannot turn back"
wait_for 5 pattern_changed 0 0 || e2e_fail "the pattern did not come back"

# To the upper left (the press corner is the exclusive one), after the main
# window lost its mouse capture while armed: the cover still brings the press.
arm upper-left
[[ $(window_field GrabwellMainWindow capture cancelmode) == no ]] ||
  e2e_fail "upper-left: the main window kept its capture"
main_is minimized && overlay_up || e2e_fail "upper-left: losing the mouse capture disarmed the free rectangle"
drag upper-left 955 377 900 330 800 250 700 160 611 117
expect_capture upper-left 611 117 955 377

# Press and release on one point: a zero-size selection.
arm zero-size
drag zero-size 700 200
kill -0 "$grabwell_pid" 2>/dev/null || e2e_fail "Grabwell is gone after a zero-size selection"
size=$(helper clip "$work/zero.bmp") || e2e_fail "zero-size: no bitmap on the clipboard"
[[ $size == 1x1 ]] || e2e_fail "zero-size: clipboard holds $size"
echo "e2e: zero-size ok: clipboard $size, window $(window_field GrabwellMainWindow state)"

helper window GrabwellMainWindow close >/dev/null
grabwell_gone() { ! kill -0 "$grabwell_pid" 2>/dev/null; }
wait_for 5 grabwell_gone || true
echo "e2e: free rectangle passed"
