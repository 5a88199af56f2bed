#!/usr/bin/env bash
# Peak memory of the program on a 7680x4320 screen: a whole-screen capture, a
# free rectangle over the whole screen, Save, Open and Edit in Paint, driven
# as a user would. Its private bytes must stay under 1.5 GB: the shipped
# 32-bit build has at most 4 GB of address space (2 GB before it was
# large-address-aware), with Wine's or Windows' own DLLs in it too.
#
#   bench/run_memory_8k.sh [path/to/Grabwell.exe]
#   JOURNEY_WORLD=i686 GRABWELL_MSI=... GRABWELL_PROBE=... bench/run_memory_8k.sh build/mingw-i686/app/Grabwell.exe
#
# The second measures the shipped 32-bit program itself, installed from its
# package in the 32-bit world (tests/e2e/worlds/i686.sh); its figure also
# counts the emulator's own memory (qemu-user's translated code).
#
# Private bytes are the program's resident anonymous memory, which is what
# Wine reports as its pagefile usage, sampled from /proc every 20 ms (Wine has
# no peak of its own; the kernel's VmHWM, all resident memory including the
# mapped DLLs, is printed beside it). The baseline is one 8K picture of 32
# bits a pixel, so the ratio counts whole-screen copies.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/mingw-x86_64
exe=${1:-$build/app/Grabwell.exe}
export GRABWELL_PROBE=${GRABWELL_PROBE:-$build/tests/e2e/probe/grabwell_probe.exe}
[[ -f $exe && -f $GRABWELL_PROBE ]] || { echo "build the mingw-x86_64 preset first" >&2; exit 2; }

export JOURNEY_SCREEN=7680x4320
# shellcheck source=../tests/e2e/journey_lib.sh
source "$root/tests/e2e/journey_lib.sh"
journey_begin 8k memory "$exe"
fake_paint
grabwell_start

# The Unix process Wine runs the program in: the one of our prefix whose
# command line names it (a world may start it through start.exe).
ours() { tr '\0' '\n' <"/proc/$1/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; }
unix_pid=
for pid in $(pgrep -f 'Grabwell\.exe'); do
  if ours "$pid"; then unix_pid=$pid; fi
done
[[ -n $unix_pid ]] || e2e_fail "no Unix process of our prefix runs Grabwell.exe"
peak_file=$_JOURNEY_WORK/peak-kb
echo 0 >"$peak_file"
(
  peak=0
  while [[ -r /proc/$unix_pid/status ]]; do
    kb=$(awk '/^RssAnon:/ { print $2 }' "/proc/$unix_pid/status" 2>/dev/null || true)
    if [[ -n $kb ]] && ((kb > peak)); then
      peak=$kb
      echo "$peak" >"$peak_file"
    fi
    sleep 0.02
  done
) &
sampler=$!
checkpoint() { step "$1: $(probe memory)"; }

checkpoint "started"
toolbar_click 5
wait_for 30 scroll_has "picwidth=7680 picheight=4320" || e2e_fail "no 8K picture: $(probe scroll)"
checkpoint "whole screen"

# From corner to corner: the last pixel is as far as the pointer goes.
free_rectangle 0 0 7679 4319 30
checkpoint "free rectangle"

save_as 'C:\users\Public\8k.bmp' 60
saved=$JOURNEY_DRIVE_C/users/Public/8k.bmp
wait_for 60 test -s "$saved" || e2e_fail "nothing saved"
checkpoint "saved $(stat -c %s "$saved") bytes"

open_picture 'C:\users\Public\8k.bmp' 60
title_is 'Grabwell─[8k.bmp(7679x4319) ]' || e2e_fail "not the picture saved: $(main_window)"
checkpoint "opened"

activate_main
keys alt+i Return
wait_for 60 test -s "$JOURNEY_DRIVE_C/edit-copy.bmp" || e2e_fail "the editor was not started"
sleep 1
checkpoint "handed to Paint"

hwm_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$unix_pid/status")
kill "$sampler" 2>/dev/null || true
wait "$sampler" 2>/dev/null || true
peak_kb=$(<"$peak_file")
step "peak resident anonymous memory ${peak_kb} kB, VmHWM ${hwm_kb} kB"
# name figure baseline ratio target, as scripts/bench tabulates them.
suffix=
[[ $JOURNEY_WORLD == plain ]] || suffix=_$JOURNEY_WORLD
awk -v peak="$peak_kb" -v hwm="$hwm_kb" -v suffix="$suffix" 'BEGIN {
  mb = peak / 1024; base = 7680 * 4320 * 4 / 1048576
  printf "memory_8k_peak_private%s %.0fMB %.0fMB %.2fx < 1536MB (VmHWM %.0fMB)\n", suffix, mb, base, mb / base, hwm / 1024
  exit (mb < 1536) ? 0 : 1
}'
