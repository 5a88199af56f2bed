# shellcheck shell=bash
# Windows 10 and 11: the desktop window manager composes the screen. The
# stand-in dwmapi.dll (tests/e2e/composed) sits in the prefix's System32,
# where Windows keeps the real one, loaded natively in this prefix only, and
# its compositor runs beside the program.
# shellcheck disable=SC2034  # for the journeys: the invisible borders, L T R B
JOURNEY_FRAME_INSET="7 0 7 7"
world_up() {
  winenv_up "${JOURNEY_SCREEN:-1024x768}" 24 || return 1
  cp "${GRABWELL_DWMAPI:?GRABWELL_DWMAPI names the stand-in dwmapi.dll}" \
    "$WINEPREFIX/drive_c/windows/system32/dwmapi.dll" || return 1
  "$WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v dwmapi /d native /f >/dev/null 2>&1 || return 1
  "$WINE" rundll32 dwmapi.dll,Compose </dev/null >"$WINENV_DIR/compositor.log" 2>&1 &
  wait_for 20 grep -q composing "$WINENV_DIR/compositor.log"
}
