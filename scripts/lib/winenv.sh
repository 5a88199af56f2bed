# shellcheck shell=bash source-path=SCRIPTDIR
# Sourced. A throwaway Wine world for one test run: its own Xvfb display, its
# own WINEPREFIX, one virtual desktop, CJK glyphs linked behind the UI fonts.
#
#   winenv_standard_user               before winenv_up: Wine runs as a user
#                                      who is not root (see there)
#   winenv_wine32                      before winenv_up: the 32-bit Wine of
#                                      wine32.sh in a win32 prefix (see there)
#   winenv_up [WIDTHxHEIGHT] [DEPTH] [DPI]
#                                      Xvfb + prefix + virtual desktop; DPI is
#                                      the display scale (96 = 100%, 192 = 200%)
#   WINENV_NO_DESKTOP=1 WINENV_REG=TEXT before winenv_up: no virtual desktop
#                                      (each window an X window of its own, on
#                                      the X screen's monitors); registry text
#                                      the prefix is made with
#   winenv_prefix_up                   prefix only, on the caller's $DISPLAY
#   winenv_as CMD...                   CMD as the user Wine runs as
#   winenv_screenshot FILE.png         the whole X screen
#   winenv_down                        undo whatever of the above ran; idempotent
#
# Callers: `winenv_up; trap winenv_down EXIT`. Everything started here is
# ended by pid, or by `wineserver -k` against our own prefix.

# shellcheck source=wineprefix.sh
source "$(dirname "${BASH_SOURCE[0]}")/wineprefix.sh"
# shellcheck source=wine32.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine32.sh"

_winenv_now() { printf '%s' "${EPOCHREALTIME/,/.}"; }
_winenv_since() { awk -v a="$1" -v b="$(_winenv_now)" 'BEGIN { printf "%.1f", b - a }'; }
_winenv_say() { printf 'winenv: %s\n' "$*" >&2; }

# Deadlines are read off the clock, not counted in tries: a command that
# takes half a second to answer (a probe under Wine on a busy machine) must
# not stretch a 60 s wait into minutes. Under emulation (winenv_wine32)
# everything is slower, and every wait is WINENV_TIME_SCALE times as long.
#   _winenv_deadline SECONDS   the clock reading (in microseconds) SECONDS from now
#   _winenv_before DEADLINE    true while that reading has not come
_winenv_deadline() {
  local now=${EPOCHREALTIME/[.,]/}
  awk -v now="$now" -v s="$1" -v k="${WINENV_TIME_SCALE:-1}" 'BEGIN { printf "%.0f", now + s * k * 1000000 }'
}
_winenv_before() { ((${EPOCHREALTIME/[.,]/} < $1)); }

# Polls "$@" every 0.1 s until it succeeds or TIMEOUT seconds have passed.
# A poll begun before then may finish after it: the wait lasts at most
# TIMEOUT and one poll.
_winenv_poll() {
  local deadline
  deadline=$(_winenv_deadline "$1") || return 1
  shift
  while :; do
    "$@" >/dev/null 2>&1 && return 0
    _winenv_before "$deadline" || return 1
    sleep 0.1
  done
}

_winenv_display_free() {
  [[ ! -e /tmp/.X$1-lock && ! -e /tmp/.X11-unix/X$1 ]]
}

# Starts Xvfb on the first free display from :90 up and exports DISPLAY.
_winenv_start_xvfb() {
  local geometry=$1 depth=$2 n deadline
  for ((n = 90; n < 400; n++)); do
    _winenv_display_free "$n" || continue
    Xvfb ":$n" -screen 0 "${geometry}x${depth}" -nolisten tcp -noreset \
      </dev/null >"$WINENV_DIR/xvfb.log" 2>&1 &
    _WINENV_XVFB_PID=$!
    deadline=$(_winenv_deadline 10)
    while _winenv_before "$deadline"; do
      kill -0 "$_WINENV_XVFB_PID" 2>/dev/null || break
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    # Lost a race for this display number, or Xvfb hung: try the next one.
    kill "$_WINENV_XVFB_PID" 2>/dev/null || true
    wait "$_WINENV_XVFB_PID" 2>/dev/null || true
    _WINENV_XVFB_PID=
  done
  _winenv_say "could not start Xvfb; last log:"
  cat "$WINENV_DIR/xvfb.log" >&2
  return 1
}

_winenv_check_font() {
  local file=${WINEPREFIX_CJK_FONT%%,*} fonts
  fonts=$(fc-list : file 2>/dev/null)
  if [[ $fonts != *"/$file:"* ]]; then
    _winenv_say "warning: $file not found by fontconfig; Chinese text will show as boxes"
  fi
}

_winenv_export() {
  export WINE=/usr/lib/wine/wine64
  export WINESERVER=/usr/lib/wine/wineserver64
  export WINEDEBUG=-all
  if [[ -n ${_WINENV_WINE32:-} ]]; then
    export WINE=$WINE32_ROOT/usr/lib/wine/wine WINEARCH=win32 QEMU_LD_PREFIX=$WINE32_ROOT
    export WINELOADER=$WINE
  fi
  # No Mono/Gecko installer prompts; winemenubuilder would write menu entries
  # and file associations into the real home directory.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Wine takes the code page for Unix file names from the locale; under plain
  # C, non-ASCII names (Chinese file names in a save dialog) are mangled.
  if [[ $(locale charmap 2>/dev/null) != UTF-8 ]]; then
    export LC_ALL=C.UTF-8
  fi
}

# The Unix user Wine runs as when the tests run as root and a journey asks
# for a standard user.
WINENV_STANDARD_USER=grabwell-user

# winenv_standard_user: the next winenv_up runs every Wine process as a user
# without root's rights, so Unix permissions hold as Windows' do for a
# standard user (a folder without write permission gives Access denied). As
# root that is $WINENV_STANDARD_USER, created on first use; any other user
# is such a user already. WINE and WINESERVER then name wrappers that drop
# to that user, so every caller of "$WINE" runs as it.
winenv_standard_user() {
  if [[ -n ${WINENV_DIR:-} ]]; then
    _winenv_say "winenv_standard_user comes before winenv_up"
    return 1
  fi
  _WINENV_STANDARD=1 _WINENV_AS=
  (($(id -u) == 0)) || return 0
  if ! id -u "$WINENV_STANDARD_USER" >/dev/null 2>&1; then
    # Another run may create it at the same moment.
    useradd --system --create-home --shell /usr/sbin/nologin "$WINENV_STANDARD_USER" 2>/dev/null ||
      id -u "$WINENV_STANDARD_USER" >/dev/null 2>&1 ||
      { _winenv_say "could not create the user $WINENV_STANDARD_USER"; return 1; }
  fi
  _WINENV_AS=$WINENV_STANDARD_USER
}

# winenv_as CMD...: runs CMD as the user Wine runs as.
winenv_as() {
  if [[ -n ${_WINENV_AS:-} ]]; then
    setpriv --reuid="$_WINENV_AS" --regid="$_WINENV_AS" --clear-groups "$@"
  else
    "$@"
  fi
}

# winenv_wine32: the next winenv_up runs the 32-bit Wine (wine32.sh: its
# root built or taken from the cache, qemu-i386 registered) in a win32
# prefix, as a 32-bit Windows runs the shipped i686 build.
winenv_wine32() {
  if [[ -n ${WINENV_DIR:-} ]]; then
    _winenv_say "winenv_wine32 comes before winenv_up"
    return 1
  fi
  wine32_up || return 1
  _WINENV_WINE32=1
  # Under emulation a program starts in about 5 s, not 1 s, and every step
  # it takes is slower in proportion.
  export WINENV_TIME_SCALE=${WINENV_TIME_SCALE:-3}
}

# $WINENV_DIR/bin/NAME: runs TARGET as $_WINENV_AS with that user's home.
_winenv_wrap() {
  local name=$1 target=$2 home
  home=$(getent passwd "$_WINENV_AS" | cut -d: -f6)
  mkdir -p "$WINENV_DIR/bin" || return 1
  printf '#!/bin/sh\nexec setpriv --reuid=%s --regid=%s --clear-groups env HOME=%s USER=%s LOGNAME=%s %s "$@"\n' \
    "$_WINENV_AS" "$_WINENV_AS" "$home" "$_WINENV_AS" "$_WINENV_AS" "$target" >"$WINENV_DIR/bin/$name" || return 1
  chmod 755 "$WINENV_DIR/bin/$name"
}

_winenv_begin() {
  if [[ -n ${WINENV_DIR:-} ]]; then
    _winenv_say "already up ($WINENV_DIR)"
    return 1
  fi
  _WINENV_SAVED_DISPLAY=${DISPLAY-}
  _WINENV_SAVED_WINEPREFIX=${WINEPREFIX-}
  WINENV_DIR=$(mktemp -d "${TMPDIR:-/tmp}/grabwell-wine.XXXXXX") || return 1
  _winenv_export
  export WINEPREFIX_OWNER=${_WINENV_AS:-}
  if [[ -n ${_WINENV_AS:-} ]]; then
    chown "$_WINENV_AS:" "$WINENV_DIR" || return 1
    { _winenv_wrap wine "$WINE" && _winenv_wrap wineserver "$WINESERVER"; } || return 1
    WINE=$WINENV_DIR/bin/wine WINESERVER=$WINENV_DIR/bin/wineserver
  fi
  _winenv_check_font
}

# Registry fragments on stdin -> $WINENV_DIR/setup.reg.
_winenv_write_reg() {
  { printf 'Windows Registry Editor Version 5.00\n\n'; cat; } >"$WINENV_DIR/setup.reg"
}

# A fresh prefix with $WINENV_DIR/setup.reg imported.
_winenv_make_prefix() {
  wineprefix_create "$WINENV_DIR/prefix" "$WINENV_DIR/setup.reg" "$WINENV_DIR/wine.log" || return 1
  export WINEPREFIX=$WINENV_DIR/prefix
}

winenv_up() {
  local geometry=${1:-1024x768} depth=${2:-24} dpi=${3:-} t0
  t0=$(_winenv_now)
  if [[ ! $geometry =~ ^[0-9]+x[0-9]+$ || ! $depth =~ ^[0-9]+$ || ! $dpi =~ ^([0-9]+)?$ ]]; then
    _winenv_say "usage: winenv_up [WIDTHxHEIGHT] [DEPTH] [DPI]"
    return 2
  fi
  _winenv_begin || return 1
  _winenv_start_xvfb "$geometry" "$depth" || { winenv_down; return 1; }
  # The registry fragment is part of the prefix template's key, so every
  # scale gets a template of its own.
  {
    wineprefix_reg_fontlink
    wineprefix_reg_no_crash_dialog
    [[ -n ${WINENV_NO_DESKTOP:-} ]] || wineprefix_reg_desktop "$geometry"
    if [[ -n $dpi ]]; then wineprefix_reg_dpi "$dpi"; fi
    printf '%s' "${WINENV_REG:-}"
  } | _winenv_write_reg
  _winenv_make_prefix || { winenv_down; return 1; }
  if [[ -n ${WINENV_NO_DESKTOP:-} ]]; then
    WINENV_UP_SECONDS=$(_winenv_since "$t0")
    _winenv_say "up without a desktop in ${WINENV_UP_SECONDS}s (DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX)"
    return 0
  fi

  "$WINE" explorer "/desktop=Default,$geometry" </dev/null >>"$WINENV_DIR/wine.log" 2>&1 &
  _WINENV_DESKTOP_PID=$!
  # The desktop is the only top-level X window explorer.exe maps.
  if ! _winenv_poll 30 xdotool search --maxdepth 1 --onlyvisible --classname '^explorer\.exe$'; then
    _winenv_say "virtual desktop did not appear; log:"
    tail -n 30 "$WINENV_DIR/wine.log" >&2
    winenv_down
    return 1
  fi
  WINENV_UP_SECONDS=$(_winenv_since "$t0")
  _winenv_say "up in ${WINENV_UP_SECONDS}s (DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX)"
}

# Prefix only, for a caller that already has a display it wants to use.
winenv_prefix_up() {
  local t0
  t0=$(_winenv_now)
  if [[ -z ${DISPLAY:-} ]]; then
    _winenv_say "winenv_prefix_up needs DISPLAY; use winenv_up for a private one"
    return 1
  fi
  _winenv_begin || return 1
  { wineprefix_reg_fontlink; wineprefix_reg_no_crash_dialog; } | _winenv_write_reg
  _winenv_make_prefix || { winenv_down; return 1; }
  WINENV_UP_SECONDS=$(_winenv_since "$t0")
  _winenv_say "prefix ready in ${WINENV_UP_SECONDS}s (WINEPREFIX=$WINEPREFIX)"
}

winenv_down() {
  [[ -n ${WINENV_DIR:-} ]] || return 0
  local t0
  t0=$(_winenv_now)
  # A standard user's test may have taken away write permissions.
  if [[ -n ${_WINENV_STANDARD:-} && -d $WINENV_DIR/prefix ]]; then
    chmod -R u+w "$WINENV_DIR/prefix" 2>/dev/null || true
  fi
  # Ends every process of the prefix: the desktop and anything a test left open.
  wineprefix_remove "$WINENV_DIR/prefix"
  if [[ -n ${_WINENV_DESKTOP_PID:-} ]]; then
    kill "$_WINENV_DESKTOP_PID" 2>/dev/null || true
    wait "$_WINENV_DESKTOP_PID" 2>/dev/null || true
  fi
  if [[ -n ${_WINENV_XVFB_PID:-} ]]; then
    kill "$_WINENV_XVFB_PID" 2>/dev/null || true
    wait "$_WINENV_XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$WINENV_DIR" || true
  if [[ -n ${_WINENV_SAVED_DISPLAY:-} ]]; then export DISPLAY=$_WINENV_SAVED_DISPLAY; else unset DISPLAY; fi
  if [[ -n ${_WINENV_SAVED_WINEPREFIX:-} ]]; then export WINEPREFIX=$_WINENV_SAVED_WINEPREFIX; else unset WINEPREFIX; fi
  _winenv_say "down in $(_winenv_since "$t0")s"
  WINENV_DIR='' _WINENV_DESKTOP_PID='' _WINENV_XVFB_PID='' _WINENV_STANDARD='' _WINENV_AS=''
  if [[ -n ${_WINENV_WINE32:-} ]]; then
    unset WINEARCH QEMU_LD_PREFIX WINELOADER WINENV_TIME_SCALE
    _WINENV_WINE32=''
  fi
  return 0
}

winenv_screenshot() {
  local file=${1:?usage: winenv_screenshot FILE.png}
  if [[ -z ${DISPLAY:-} ]]; then
    _winenv_say "winenv_screenshot: no DISPLAY"
    return 1
  fi
  mkdir -p "$(dirname "$file")" || return 1
  import -display "$DISPLAY" -window root "$file"
}
