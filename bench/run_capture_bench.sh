#!/usr/bin/env bash
# Runs the capture benchmark under Wine. The JPEG baseline is Debian's djpeg
# decoding the very file the benchmark loads, timed here on the Linux side
# (median of several runs, with and without its SIMD code) and handed to the
# benchmark.
#
#   bench/run_capture_bench.sh [path/to/grabwell_bench_capture.exe]
#
# Uses the Wine world in the environment when WINEPREFIX and DISPLAY are set,
# otherwise brings up a private one with scripts/lib/winenv.sh.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=${1:-$root/build/mingw-x86_64/bench/grabwell_bench_capture.exe}
runs=${DJPEG_RUNS:-7}
[[ -f $exe ]] || { echo "no benchmark at $exe (build the mingw-x86_64 preset)" >&2; exit 2; }
command -v djpeg >/dev/null || { echo "djpeg missing (apt-get install libjpeg-turbo-progs)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/grabwell-bench.XXXXXX")
own_wine=0
cleanup() {
  rm -rf "$work"
  if ((own_wine)); then winenv_down; fi
}
trap cleanup EXIT

if [[ -z ${WINEPREFIX:-} || -z ${DISPLAY:-} ]]; then
  # shellcheck source=../scripts/lib/winenv.sh
  source "$root/scripts/lib/winenv.sh"
  winenv_up
  own_wine=1
fi
run() { "$root/scripts/lib/wine-exec" "$exe" "$@"; }

jpeg=$work/bench-24mp.jpg
run --make-jpeg "$jpeg"
[[ -s $jpeg ]] || { echo "the benchmark wrote no JPEG" >&2; exit 1; }

# djpeg_ms [ENV...]: djpeg's median time on the file, in ms.
djpeg_ms() {
  local times=() i t0 t1 median_us
  for ((i = 0; i < runs; i++)); do
    t0=$(date +%s%N)
    env "$@" djpeg -outfile /dev/null "$jpeg"
    t1=$(date +%s%N)
    times+=("$(((t1 - t0) / 1000))")
  done
  median_us=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
  awk -v us="$median_us" 'BEGIN { printf "%.2f", us / 1000 }'
}
simd_ms=$(djpeg_ms)
# The same library without its SIMD code, as Wine's WIC builds it.
scalar_ms=$(djpeg_ms JSIMD_FORCENONE=1)
echo "djpeg median of $runs runs: ${simd_ms}ms, without SIMD ${scalar_ms}ms"

run --jpeg "$jpeg" --djpeg-ms "$simd_ms" --djpeg-scalar-ms "$scalar_ms"
