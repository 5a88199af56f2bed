#!/usr/bin/env bash
# The built program starts under Wine in the virtual desktop, and its main
# window appears with the title "Grabwell" and a menu bar.
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
exe=${1:?usage: test_startup.sh Grabwell.exe}

# A fresh user: nothing stored yet, so the window opens at the defaults.
$WINE reg delete 'HKCU\Software\Grabwell' /f >/dev/null 2>&1 || true

"$WINE" "$exe" >/dev/null 2>&1 &
app=$!
trap 'kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true' EXIT

line=$("$WINE" "$GRABWELL_PROBE" window 30 | tr -d '\r') || e2e_fail "no Grabwell window appeared"
echo "probe: $line"
[[ $line == *"title=Grabwell "* ]] || e2e_fail "title is not Grabwell: $line"
[[ $line == *"menubar=1"* ]] || e2e_fail "no menu bar: $line"
[[ $line == *"visible=1"* ]] || e2e_fail "window not visible: $line"
# 1000 twips is 67 pixels at 96 dpi; 6500 twips is 433.
[[ $line == *"left=67 top=67 width=433 height=433"* ]] || e2e_fail "not at the default placement: $line"
sleep 1
shot=$(e2e_shot startup) || e2e_fail "no screenshot"
echo "screenshot: $shot"
