#!/usr/bin/env bash
# The window at 100%, 150% and 200% (96, 144 and 192 dpi), each on a screen
# of the same physical size, 1024 x 768 at 100%: the display-scale, placement,
# viewport and whole-screen tests once per scale. The window's screenshot at
# each scale goes to $GRABWELL_ARTIFACTS as display-scale-DPI.png, and the
# toolbar's button size at each is printed at the end.
#
#   tests/win32/run_at_display_scales.sh grabwell_win32_tests.exe
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe=${1:?usage: run_at_display_scales.sh grabwell_win32_tests.exe}
# shellcheck source=../../scripts/lib/winenv.sh
source "$root/scripts/lib/winenv.sh"
artifacts=${GRABWELL_ARTIFACTS:-$root/build/artifacts}
work=$(mktemp -d "${TMPDIR:-/tmp}/grabwell-scales.XXXXXX")
trap 'winenv_down; rm -rf "$work"' EXIT
mkdir -p "$artifacts"

filter='DisplayScale*:Placement.*:ViewportTest.*:CaptureCommands.WholeScreen*'
failed=()
for dpi in 96 144 192; do
  screen="$((1024 * dpi / 96))x$((768 * dpi / 96))"
  printf '\n==> %s dpi, %s screen\n' "$dpi" "$screen"
  if ! winenv_up "$screen" 24 "$dpi" </dev/null >/dev/null; then
    failed+=("$dpi (no Wine world)")
    continue
  fi
  GRABWELL_TEST_DPI=$dpi GRABWELL_TEST_SHOTS="Z:${work//\//\\}" \
    "$root/scripts/lib/wine-exec" "$exe" --gtest_filter="$filter" 2>&1 | tee "$work/$dpi.log"
  ((PIPESTATUS[0] == 0)) || failed+=("$dpi")
  winenv_down >/dev/null 2>&1
  if [[ -f $work/display-scale-$dpi.bmp ]]; then
    convert "$work/display-scale-$dpi.bmp" "$artifacts/display-scale-$dpi.png" &&
      printf 'screenshot: %s\n' "$artifacts/display-scale-$dpi.png"
  else
    failed+=("$dpi (no screenshot)")
  fi
done

printf '\n'
for dpi in 96 144 192; do
  grep -h '^display scale ' "$work/$dpi.log" 2>/dev/null | tr -d '\r'
done
if ((${#failed[@]})); then
  printf 'failed at: %s\n' "${failed[*]}" >&2
  exit 1
fi
