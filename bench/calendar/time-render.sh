#!/usr/bin/env bash
# Times `tavlo-cal render` as a whole process (start, draw, PNG) and prints
# the median of RUNS runs in milliseconds.
#   bench/calendar/time-render.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-21}
tool=$build/tools/tavlo-cal/tavlo-cal
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" render 2024-09-15 "$work/warm.png"
times=()
for ((i = 0; i < runs; i++)); do
  t0=$(date +%s%N)
  "$tool" render 2024-09-15 "$work/month.png"
  times+=($(( ($(date +%s%N) - t0) / 1000000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}')
echo "tavlo-cal render 419x255: median ${median} ms over ${runs} runs"
