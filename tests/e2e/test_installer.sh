#!/usr/bin/env bash
# The Windows Installer package as an administrator uses it: msiexec /i puts
# the program into Program Files\Grabwell with a Start-menu shortcut and one
# entry in Add/Remove Programs; the program starts from that shortcut; a
# newer version replaces the older one in place; msiexec /x leaves nothing.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
exe=${1:?usage: test_installer.sh Grabwell.exe}
journey_begin --no-install 7 installer "$exe"
root=$(cd "$(dirname "$0")/../.." && pwd)

# The package of the program under test, and the same program as a newer
# version, built here with the build's own script and version.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$(dirname "$exe")/../CMakeCache.txt")
[[ $version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] || e2e_fail "no project version: '$version'"
newer=${BASH_REMATCH[1]}.${BASH_REMATCH[2]}.$((BASH_REMATCH[3] + 1))
# PE machine field: 0x8664 for the 64-bit build.
pe=$(od -An -t u4 -j 60 -N 4 "$exe" | tr -d ' ')
arch=x86
[[ $(od -An -t x2 -j $((pe + 4)) -N 2 "$exe" | tr -d ' ') == 8664 ]] && arch=x64
for v in "$version" "$newer"; do
  bash "$root/installer/build-msi" "$(dirname "$exe")" "$arch" "$v" "$_JOURNEY_WORK/Grabwell-$v.msi" ||
    e2e_fail "wixl could not build the $v package"
done
winpath() { printf 'Z:%s' "${1//\//\\}"; }
msiexec() { "$WINE" msiexec "$1" "$(winpath "$2")" /qn >>"$_JOURNEY_WORK/msiexec.log" 2>&1; }

# The Start-menu folder: the common one for a per-machine package, as
# Windows has it; Wine's msiexec puts it in the installing user's.
menus=("ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Grabwell"
  "users\\$JOURNEY_USER\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Grabwell")
unix_of() { printf '%s/%s' "$JOURNEY_DRIVE_C" "${1//\\//}"; }
shortcut() {
  local m
  for m in "${menus[@]}"; do
    [[ -f $(unix_of "$m")/Grabwell.lnk ]] && { printf 'C:\\%s\\Grabwell.lnk' "$m"; return 0; }
  done
  return 1
}
no_menu() {
  local m
  for m in "${menus[@]}"; do [[ ! -e $(unix_of "$m") ]] || return 1; done
}
# Add/Remove Programs as Wine's own control panel lists it: "{code}|||name".
entries() { "$WINE" uninstaller --list 2>/dev/null | tr -d '\r' | grep -c '|||Grabwell$' || true; }
entry_version() {
  local code
  code=$("$WINE" uninstaller --list 2>/dev/null | tr -d '\r' | sed -n 's/^\({[^}]*}\)|||Grabwell$/\1/p')
  "$WINE" reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" /v DisplayVersion \
    2>/dev/null | tr -d '\r' | sed -n 's/^ *DisplayVersion *REG_SZ *//p'
}
installed_files() { (cd "$JOURNEY_INSTALL" && find . | sort | tr '\n' ' '); }

step "msiexec /i Grabwell $version ($arch)"
msiexec /i "$_JOURNEY_WORK/Grabwell-$version.msi" || e2e_fail "msiexec /i failed: $(tail -n 5 "$_JOURNEY_WORK/msiexec.log")"
want='. ./Grabwell.exe ./Temp ./language ./language/English.lng ./language/chinese.lng ./readme.txt '
[[ $(installed_files) == "$want" ]] || e2e_fail "installed: $(installed_files)"
cmp -s "$exe" "$JOURNEY_INSTALL/Grabwell.exe" || e2e_fail "the installed exe is not the built one"
link=$(shortcut) || e2e_fail "no Start-menu shortcut"
[[ $(entries) == 1 ]] || e2e_fail "$(entries) entries in Add/Remove Programs"
[[ $(entry_version) == "$version" ]] || e2e_fail "Add/Remove Programs says version '$(entry_version)'"
step "Program Files\\Grabwell holds $(installed_files)"

step "start it from the Start menu: $link"
(cd "$JOURNEY_DRIVE_C" && exec "$WINE" start "$link") </dev/null >>"$_JOURNEY_WORK/grabwell.log" 2>&1
wait_for 30 main_has "visible=1" || e2e_fail "the shortcut did not start Grabwell: $(main_window)"
[[ $(field "$(probe process Grabwell.exe)" count) == 1 ]] || e2e_fail "not one Grabwell.exe running"
shot started >/dev/null
wait_for 10 main_has "foreground=1" || activate_main
keys ctrl+q
wait_for 10 main_gone || e2e_fail "Grabwell did not end on Ctrl+Q"

step "msiexec /i Grabwell $newer over it"
msiexec /i "$_JOURNEY_WORK/Grabwell-$newer.msi" || e2e_fail "the upgrade failed: $(tail -n 5 "$_JOURNEY_WORK/msiexec.log")"
[[ $(entries) == 1 ]] || e2e_fail "$(entries) entries in Add/Remove Programs after the upgrade"
[[ $(entry_version) == "$newer" ]] || e2e_fail "Add/Remove Programs says version '$(entry_version)'"
[[ $(installed_files) == "$want" && $(shortcut) == "$link" ]] || e2e_fail "after the upgrade: $(installed_files)"
step "one entry, version $newer, the same files"

step "msiexec /x"
msiexec /x "$_JOURNEY_WORK/Grabwell-$newer.msi" || e2e_fail "msiexec /x failed: $(tail -n 5 "$_JOURNEY_WORK/msiexec.log")"
[[ ! -e $JOURNEY_INSTALL ]] || e2e_fail "left behind: $(installed_files)"
no_menu || e2e_fail "the Start-menu folder is still there"
[[ $(entries) == 0 ]] || e2e_fail "still in Add/Remove Programs"
if "$WINE" reg query 'HKLM\Software\Grabwell' >/dev/null 2>&1; then e2e_fail "HKLM\\Software\\Grabwell left behind"; fi
step "nothing left in Program Files, the Start menu, Add/Remove Programs or HKLM\\Software"
