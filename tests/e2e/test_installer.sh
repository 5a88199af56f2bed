#!/usr/bin/env bash
# The Windows Installer packages. A standard user, to whom Program Files and
# the Windows folder are read-only: the per-machine package fails and leaves
# nothing behind; the per-user one puts the program into
# %LOCALAPPDATA%\Programs\Grabwell with the user's own Start-menu shortcut
# and Add/Remove Programs entry, the program starts from that shortcut, and
# msiexec /x leaves nothing. Then as an administrator: msiexec /i puts the
# program into Program Files\Grabwell with a Start-menu shortcut and one
# entry in Add/Remove Programs; the program starts from that shortcut; a
# newer version replaces the older one in place; msiexec /x leaves nothing.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
exe=${1:?usage: test_installer.sh Grabwell.exe}
journey_begin --standard-user --no-install 7 installer "$exe"
root=$(cd "$(dirname "$0")/../.." && pwd)

# The packages of the program under test, and the same program as a newer
# version, built here with the build's own script and version.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$(dirname "$exe")/../CMakeCache.txt")
[[ $version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] || e2e_fail "no project version: '$version'"
newer=${BASH_REMATCH[1]}.${BASH_REMATCH[2]}.$((BASH_REMATCH[3] + 1))
# PE machine field: 0x8664 for the 64-bit build.
pe=$(od -An -t u4 -j 60 -N 4 "$exe" | tr -d ' ')
arch=x86
[[ $(od -An -t x2 -j $((pe + 4)) -N 2 "$exe" | tr -d ' ') == 8664 ]] && arch=x64
for v in "$version perMachine" "$newer perMachine" "$version perUser"; do
  read -r ver scope <<<"$v"
  bash "$root/installer/build-msi" "$(dirname "$exe")" "$arch" "$ver" "$_JOURNEY_WORK/Grabwell-$ver-$scope.msi" "$scope" ||
    e2e_fail "wixl could not build the $v package"
done
winpath() { printf 'Z:%s' "${1//\//\\}"; }
msiexec() { "$WINE" msiexec "$1" "$(winpath "$2")" /qn >>"$_JOURNEY_WORK/msiexec.log" 2>&1; }
msiexec_ok() { msiexec "$@" || e2e_fail "msiexec $1 failed: $(tail -n 5 "$_JOURNEY_WORK/msiexec.log")"; }

unix_of() { printf '%s/%s' "$JOURNEY_DRIVE_C" "${1//\\//}"; }
no_menu() {
  local m
  while read -r m; do [[ ! -e $(unix_of "$m") ]] || return 1; done < <(start_menu_folders)
}
# Add/Remove Programs as Wine's own control panel lists it: "{code}|||name".
entries() { "$WINE" uninstaller --list 2>/dev/null | tr -d '\r' | grep -c '|||Grabwell$' || true; }
# entry_version: the version its Add/Remove Programs entry names, from the
# user's uninstall data or the machine's (Wine keeps a per-user product's
# there too).
entry_version() {
  local code hive
  code=$("$WINE" uninstaller --list 2>/dev/null | tr -d '\r' | sed -n 's/^\({[^}]*}\)|||Grabwell$/\1/p')
  for hive in HKCU HKLM; do
    "$WINE" reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" /v DisplayVersion \
      2>/dev/null | tr -d '\r' | sed -n 's/^ *DisplayVersion *REG_SZ *//p'
  done | head -n 1
}
installed_files() { (cd "$1" && find . | sort | tr '\n' ' '); }
# installed_in DIR VERSION: the package's files there with the built exe, a
# Start-menu shortcut (its path into $link) and one entry of that version.
installed_in() {
  local want='. ./Grabwell.exe ./Temp ./language ./language/English.lng ./language/chinese.lng ./readme.txt '
  [[ $(installed_files "$1") == "$want" ]] || e2e_fail "installed: $(installed_files "$1")"
  cmp -s "$exe" "$1/Grabwell.exe" || e2e_fail "the installed exe is not the built one"
  link=$(start_menu_shortcut) || e2e_fail "no Start-menu shortcut"
  [[ $(entries) == 1 && $(entry_version) == "$2" ]] ||
    e2e_fail "Add/Remove Programs: $(entries) entries, version '$(entry_version)'"
  step "${1#"$JOURNEY_DRIVE_C"} holds $want; one entry, version $2; $link"
}
# start_and_quit: the program from its Start-menu shortcut, then Ctrl+Q.
start_and_quit() {
  step "start it from the Start menu"
  (cd "$JOURNEY_DRIVE_C" && exec "$WINE" start "$link") </dev/null >>"$_JOURNEY_WORK/grabwell.log" 2>&1
  wait_for 30 main_has "visible=1" || e2e_fail "the shortcut did not start Grabwell: $(main_window)"
  [[ $(field "$(probe process Grabwell.exe)" count) == 1 ]] || e2e_fail "not one Grabwell.exe running"
  shot "started-$1" >/dev/null
  wait_for 10 main_has "foreground=1" || activate_main
  keys ctrl+q
  wait_for 10 main_gone || e2e_fail "Grabwell did not end on Ctrl+Q"
}
nothing_left() {
  [[ ! -e $JOURNEY_INSTALL && ! -e $user_install ]] || e2e_fail "$1: left $(find "$JOURNEY_INSTALL" "$user_install" 2>/dev/null)"
  no_menu || e2e_fail "$1: the Start-menu folder is still there"
  [[ $(entries) == 0 ]] || e2e_fail "$1: still in Add/Remove Programs"
  for hive in HKLM HKCU; do
    if "$WINE" reg query "$hive\\Software\\Grabwell" >/dev/null 2>&1; then e2e_fail "$1: $hive\\Software\\Grabwell left"; fi
  done
  step "$1: nothing left in the program folders, the Start menu, Add/Remove Programs or the registry"
}

# What a standard user may not write. The Windows Installer service writes
# its package cache in the Windows folder for the user; Wine's msiexec runs
# as the user, so that one folder stays open to them.
user_install=$JOURNEY_PROFILE/AppData/Local/Programs/Grabwell
winenv_as mkdir -p "$JOURNEY_DRIVE_C/windows/Installer"
chmod a-w "$JOURNEY_DRIVE_C/Program Files" "$JOURNEY_DRIVE_C/windows" || e2e_fail "could not take away write permission"

step "as the standard user $JOURNEY_USER: msiexec /i the per-machine package"
! msiexec /i "$_JOURNEY_WORK/Grabwell-$version-perMachine.msi" || e2e_fail "the per-machine package installed for a standard user"
nothing_left "it failed"

step "msiexec /i the per-user package"
msiexec_ok /i "$_JOURNEY_WORK/Grabwell-$version-perUser.msi"
installed_in "$user_install" "$version"
[[ ! -e $JOURNEY_INSTALL ]] || e2e_fail "the per-user package wrote Program Files"
[[ $link == *"\\users\\$JOURNEY_USER\\"* ]] || e2e_fail "not the user's own Start menu: $link"
start_and_quit per-user
step "msiexec /x the per-user package"
msiexec_ok /x "$_JOURNEY_WORK/Grabwell-$version-perUser.msi"
nothing_left "uninstalled"

# An administrator may write Program Files and the Windows folder.
chmod u+w "$JOURNEY_DRIVE_C/Program Files" "$JOURNEY_DRIVE_C/windows" || e2e_fail "could not give back write permission"
step "as an administrator: msiexec /i Grabwell $version ($arch)"
msiexec_ok /i "$_JOURNEY_WORK/Grabwell-$version-perMachine.msi"
installed_in "$JOURNEY_INSTALL" "$version"
start_and_quit per-machine

step "msiexec /i Grabwell $newer over it"
first=$link
msiexec_ok /i "$_JOURNEY_WORK/Grabwell-$newer-perMachine.msi"
installed_in "$JOURNEY_INSTALL" "$newer"
[[ $link == "$first" ]] || e2e_fail "the shortcut moved to $link"

step "msiexec /x"
msiexec_ok /x "$_JOURNEY_WORK/Grabwell-$newer-perMachine.msi"
nothing_left "uninstalled"
