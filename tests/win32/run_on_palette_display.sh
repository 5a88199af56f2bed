#!/usr/bin/env bash
# The capture tests once more on an 8-bit (256-colour palette) display, where
# a capture must carry a copy of the system palette.
#
#   tests/win32/run_on_palette_display.sh grabwell_win32_tests.exe
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe=${1:?usage: run_on_palette_display.sh grabwell_win32_tests.exe}
# shellcheck source=../../scripts/lib/winenv.sh
source "$root/scripts/lib/winenv.sh"
trap winenv_down EXIT
winenv_up 1024x768 8 </dev/null >/dev/null
filter='CaptureTest.*:ExactCaptureTest.*:SystemPaletteDecision.*:PictureFileTest.Palette*'
# The free rectangle's copy out of the still picture it was framed on.
filter+=':FreeRectangleCopyTest.ClipboardGetsExactly*'
"$root/scripts/lib/wine-exec" "$exe" --gtest_filter="$filter"
