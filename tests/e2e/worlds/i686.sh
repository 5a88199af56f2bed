# shellcheck shell=bash
# The shipped 32-bit program as a user of 32-bit Windows gets it: the 32-bit
# Wine (under qemu-user, scripts/lib/wine32.sh) in a win32 prefix, the
# program installed by msiexec from the package users download
# ($GRABWELL_MSI) and started from the Start-menu shortcut that package made.
# The helpers the journeys drive it with are the same build's i686 ones.

world_up() { winenv_wine32 && winenv_up "${JOURNEY_SCREEN:-1024x768}" 24; }

world_install() {
  local msi=${GRABWELL_MSI:-}
  [[ -f $msi ]] || { echo "journey: no package at GRABWELL_MSI='$msi'" >&2; return 1; }
  # From a folder the installing user can read, wherever the build is.
  cp "$msi" "$_JOURNEY_WORK/" || return 1
  msi=$_JOURNEY_WORK/${msi##*/}
  "$WINE" msiexec /i "Z:${msi//\//\\}" /qn >>"$_JOURNEY_WORK/msiexec.log" 2>&1 ||
    { echo "journey: msiexec /i failed ($?)" >&2; return 1; }
  # A package built before the exe would test an older program.
  cmp -s "$1" "$JOURNEY_INSTALL/Grabwell.exe" || { echo "journey: $msi does not hold $1" >&2; return 1; }
  _WORLD_SHORTCUT=$(start_menu_shortcut) || { echo "journey: no Start-menu shortcut" >&2; return 1; }
}

# start /wait ends with the program's own exit code.
world_launch() { exec "$WINE" start /wait "$_WORLD_SHORTCUT"; }
