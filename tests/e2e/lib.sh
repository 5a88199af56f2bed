# shellcheck shell=bash source-path=SCRIPTDIR
# Sourced by end-to-end shell tests. They run inside the Wine world that
# scripts/test (winenv_up) set up: DISPLAY and WINEPREFIX come from there,
# screenshots go to $GRABWELL_ARTIFACTS.

# shellcheck source=../../scripts/lib/winenv.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/winenv.sh"

# e2e_wait_window NAME [TIMEOUT]: prints the X id of the first visible window
# whose title matches the regex NAME; non-zero if none shows up in time.
e2e_wait_window() {
  local name=${1:?usage: e2e_wait_window NAME [TIMEOUT]} timeout=${2:-20} ids deadline
  deadline=$(_winenv_deadline "$timeout")
  while :; do
    if ids=$(xdotool search --onlyvisible --name "$name" 2>/dev/null) && [[ -n $ids ]]; then
      printf '%s\n' "${ids%%$'\n'*}"
      return 0
    fi
    _winenv_before "$deadline" || break
    sleep 0.1
  done
  printf 'e2e: no window matching "%s" after %ss\n' "$name" "$timeout" >&2
  return 1
}

# wait_for SECONDS COMMAND...: polls until the command succeeds (its output
# is not shown); non-zero once SECONDS have passed by the clock.
wait_for() { _winenv_poll "$@"; }

# differing A B: how many pixels of two same-sized pictures differ.
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# e2e_shot NAME: the whole screen into $GRABWELL_ARTIFACTS/NAME.png; prints the path.
e2e_shot() {
  local name=${1:?usage: e2e_shot NAME}
  local file=${GRABWELL_ARTIFACTS:-${TMPDIR:-/tmp}/grabwell-artifacts}/$name.png
  winenv_screenshot "$file" || return 1
  printf '%s\n' "$file"
}

# e2e_fail MSG: reports, keeps a screenshot of how the screen looked, exits 1.
e2e_fail() {
  printf 'e2e FAIL: %s\n' "$*" >&2
  if [[ -n ${DISPLAY:-} ]]; then
    local shot
    shot=$(e2e_shot "failure-$(basename "$0" .sh)-$$" 2>/dev/null) && printf 'e2e: screen at failure: %s\n' "$shot" >&2
  fi
  exit 1
}
