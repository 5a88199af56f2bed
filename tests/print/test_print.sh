#!/usr/bin/env bash
# Prints through the real print dialog under Wine to a private CUPS PDF
# printer and checks the page: the picture at its screen size, centred in
# the printable area, quadrants the right way round.
#
#   tests/print/test_print.sh [TEST.exe]
#
# TEST.exe defaults to the Win32 test program of the mingw-x86_64 build.
# Exits 77 (skipped) when CUPS or cups-pdf is not installed.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
tests_exe=${1:-$root/build/mingw-x86_64/tests/win32/grabwell_win32_tests.exe}

# shellcheck source=tests/print/cups_env.sh
source "$here/cups_env.sh"
# shellcheck source=scripts/lib/winenv.sh
source "$root/scripts/lib/winenv.sh"

if ! cups_available; then
  echo "test_print: skipped, needs cups, printer-driver-cups-pdf" >&2
  exit 77
fi
for tool in pdftoppm python3; do
  command -v "$tool" >/dev/null || { echo "test_print: skipped, needs $tool" >&2; exit 77; }
done
[[ -f $tests_exe ]] || { echo "test_print: no test program at $tests_exe" >&2; exit 2; }

out=$(mktemp -d "${TMPDIR:-/tmp}/grabwell-print.XXXXXX")
cleanup() { winenv_down; cups_down; rm -rf "$out"; }
trap cleanup EXIT

cups_up || exit 1
winenv_up 1024x768 24 || exit 1

printing_tests=PrintPictureOnPrinterTest.PrintsThroughTheDialog
printing_tests+=:PrintPictureOnPrinterTest.CancelledPrintDialogGivesNoPrinter
# The report is written by the test program through Wine's Z: drive.
export GRABWELL_PRINT_REPORT="Z:${out//\//\\}\\report.txt"
if ! "$root/scripts/lib/wine-exec" "$tests_exe" --gtest_filter="$printing_tests" \
    >"$out/gtest.log" 2>&1; then
  cat "$out/gtest.log" >&2
  echo "test_print: FAIL (printing tests)" >&2
  exit 1
fi
if grep -q '\[  SKIPPED \]' "$out/gtest.log"; then
  cat "$out/gtest.log" >&2
  echo "test_print: FAIL (Wine did not see the CUPS printer)" >&2
  exit 1
fi

pdf=$(cups_wait_pdf "$out" 60) || { echo "test_print: FAIL (no PDF)" >&2; exit 1; }
pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
if [[ $pages != 1 ]]; then
  echo "test_print: FAIL (expected one page, got '${pages}')" >&2
  exit 1
fi
pdftoppm -r 96 "$pdf" "$out/page" || exit 1
python3 "$here/check_page.py" "$out"/page-1.ppm "$out/report.txt" 96 || exit 1
echo "test_print: ok"
