# shellcheck shell=bash
# Windows 11 as it ships Paint and Notepad, which are Store apps there: no
# Paint.Picture class, no "edit" verb for pictures, no mspaint.exe in the
# system folders; Paint starts through the user's app execution alias; and
# notepad.exe in the Windows folder starts the Store Notepad and ends.
world_up() {
  winenv_up "${JOURNEY_SCREEN:-1024x768}" 24 || return 1
  printf 'REGEDIT4\n\n[-HKEY_LOCAL_MACHINE\\Software\\Classes\\Paint.Picture]\n%s\n' \
    '[-HKEY_LOCAL_MACHINE\Software\Classes\SystemFileAssociations\image\shell\edit]' >"$WINENV_DIR/win11.reg"
  "$WINE" regedit /S "Z:${WINENV_DIR//\//\\}\\win11.reg" >/dev/null 2>&1 &&
    rm -f "$WINEPREFIX"/drive_c/windows/{system32,syswow64}/mspaint.exe &&
    standin "$WINEPREFIX/drive_c/windows" notepad.exe
}
# The alias, where the Store put it, records what it was given.
fake_paint() {
  standin "$JOURNEY_PROFILE/AppData/Local/Microsoft/WindowsApps" mspaint.exe || e2e_fail "no Paint alias"
  # shellcheck disable=SC2034  # for the journeys
  PAINT_RECORD=$JOURNEY_PROFILE/AppData/Local/Microsoft/WindowsApps/mspaint.exe.ran
}
