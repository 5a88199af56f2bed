# shellcheck shell=bash
# Two monitors on one X screen of 1824 x 768: the primary, 1024 x 768, and
# a second one of 800 x 600 left of it, so that Windows gives the second
# one negative coordinates (-800,0 to 0,600) and the virtual screen starts
# at -800,0. No virtual desktop: each window is an X window of its own, at
# X column Windows' x + 800, framed and moved by Wine itself as Windows does
# (Managed=N; there is no window manager). With UseXRandR=N Wine reads the
# monitors through Xinerama, which the X server answers from its RandR
# monitor list; Wine's RandR path would see one monitor.
# shellcheck disable=SC2034  # read by journey_lib.sh
JOURNEY_ORIGIN_X=800

world_up() {
  WINENV_NO_DESKTOP=1 WINENV_REG=$'[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"UseXRandR"="N"\n"Managed"="N"\n\n' \
    winenv_up 1824x768 24 || return 1
  local output
  output=$(xrandr --query | awk '/ connected/ { print $1; exit }')
  xrandr --setmonitor primary 1024/271x768/203+800+0 "$output" >/dev/null && xrandr --output "$output" --primary &&
    left_monitor on
}

# left_monitor on|off: plugs the left monitor in or takes it away. Wine reads
# the monitors when its server starts, so the server is ended too (and with
# it every Wine process of the prefix).
left_monitor() {
  if [[ $1 == on ]]; then
    xrandr --setmonitor left 800/211x600/159+0+0 none >/dev/null
  else
    xrandr --delmonitor left
  fi || return 1
  timeout 20 "$WINESERVER" -k 2>/dev/null
  timeout 20 "$WINESERVER" -w 2>/dev/null || true
}

# Without a window manager, Wine gives the keyboard focus to a window it
# activates only once that window is on the screen: one that comes back from
# hiding or minimising is active but gets no keys. A click gives the focus to
# the window under the pointer, as a click-to-focus window manager would.
world_focus() {
  local window
  window=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
  xdotool windowfocus "$window" 2>/dev/null || true
}
