#!/usr/bin/env bash
# The harness's waits end by the clock. A poll that itself takes half a
# second (a probe under Wine on a busy machine) must not stretch a 2 s wait,
# and a journey that waits in vain fails within its stated time and one poll.
set -euo pipefail
# shellcheck source=journey_lib.sh
source "$(dirname "$0")/journey_lib.sh"
unset DISPLAY  # no screenshot of a failure: there is no Wine world here

slow_no() { sleep 0.5; return 1; }
# A dialog that never comes, behind a slow probe.
probe() { sleep 0.5; echo found=0; }
# seconds "CMD...": how long CMD ran, failing or not.
seconds() {
  local t0=${EPOCHREALTIME/[.,]/}
  ("$@") >/dev/null 2>&1 || true
  echo $(((${EPOCHREALTIME/[.,]/} - t0) / 100000))
}
# 2 s, one poll of 0.5 s and one pause of 0.2 s, in tenths, with 0.2 s to spare.
limit=29
for wait in "wait_for 2 slow_no" "wait_dialog ^Never$ 2"; do
  # shellcheck disable=SC2086  # one word per argument
  took=$(seconds $wait)
  ((took <= limit)) || { echo "FAIL: '$wait' took $((took / 10)).$((took % 10)) s"; exit 1; }
  echo "ok: '$wait' gave up after $((took / 10)).$((took % 10)) s"
done
