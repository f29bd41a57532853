#!/usr/bin/env bash
# Times the program's picture paths against common tools doing the same work,
# alternating the commands, and prints the median of each and their ratios.
#   bench/compare.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

for tool in convert djpeg; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

echo "making inputs in $work ..."
convert -size 3840x2160 plasma:fractal -seed 7 BMP3:bg4k.bmp
convert -size 1920x1080 plasma:fractal -seed 8 BMP3:bg2k.bmp
convert -size 800x600 gradient:orange-navy BMP3:content.bmp
convert -size 6000x4000 plasma:fractal -seed 9 -quality 90 photo.jpg
convert photo.jpg -interlace JPEG -quality 90 photo-progressive.jpg

now() { date +%s%N; }

# time_pair NAME CMD_A -- CMD_B: runs A and B alternately, prints medians and A/B.
time_pair() {
  local name=$1; shift
  local a=() b=()
  while [ "$1" != "--" ]; do a+=("$1"); shift; done
  shift
  b=("$@")
  local ta=() tb=() t0
  "${a[@]}" >/dev/null 2>&1; "${b[@]}" >/dev/null 2>&1  # warm the caches
  for ((i = 0; i < runs; i++)); do
    t0=$(now); "${a[@]}" >/dev/null; ta+=($(( $(now) - t0 )))
    t0=$(now); "${b[@]}" >/dev/null; tb+=($(( $(now) - t0 )))
  done
  local ma mb
  ma=$(printf '%s\n' "${ta[@]}" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}')
  mb=$(printf '%s\n' "${tb[@]}" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}')
  awk -v n="$name" -v a="$ma" -v b="$mb" \
    'BEGIN { printf "%-52s %9.2f ms %9.2f ms   ratio %.2f\n", n, a/1e6, b/1e6, a/b }'
}

x4k=$((3840 - 800 - 52)); x2k=$((1920 - 800 - 52))
printf '%-52s %12s %12s\n' "path (ours vs reference)" "ours" "reference"
time_pair "compose 3840x2160 vs cp of the background" \
  "$build/tools/tavlo-compose/tavlo-compose" bg4k.bmp content.bmp mix.bmp -- cp bg4k.bmp copy.bmp
time_pair "compose 1920x1080 vs cp of the background" \
  "$build/tools/tavlo-compose/tavlo-compose" bg2k.bmp content.bmp mix.bmp -- cp bg2k.bmp copy.bmp
time_pair "compose 3840x2160 vs ImageMagick composite" \
  "$build/tools/tavlo-compose/tavlo-compose" bg4k.bmp content.bmp mix.bmp -- \
  convert bg4k.bmp content.bmp -geometry "+$x4k+4" -composite BMP3:im.bmp
time_pair "6000x4000 baseline JPEG to BMP vs djpeg -bmp" \
  "$build/tools/tavlo-picture/tavlo-picture" convert photo.jpg photo.bmp -- \
  djpeg -bmp -outfile dj.bmp photo.jpg
time_pair "6000x4000 progressive JPEG to BMP vs djpeg -bmp" \
  "$build/tools/tavlo-picture/tavlo-picture" convert photo-progressive.jpg photo.bmp -- \
  djpeg -bmp -outfile dj.bmp photo-progressive.jpg

# The root-window painter against feh on a 3840x2160 X server: read the
# picture, stretch it smoothly, make it the root's background.
if command -v feh >/dev/null && command -v Xvfb >/dev/null; then
  convert -size 1600x900 plasma:fractal -seed 10 BMP3:bg1600.bmp
  Xvfb -displayfd 3 -screen 0 3840x2160x24 -noreset -nolisten tcp 3>display 2>/dev/null &
  xvfb=$!
  for ((i = 0; i < 100 && ! -s display; i++)); do sleep 0.05; done
  mkdir -p folder
  export DISPLAY=":$(head -n1 display)"
  time_pair "root wallpaper 1600x900 on 3840x2160 vs feh --bg-scale" \
    env -u WAYLAND_DISPLAY -u XDG_CURRENT_DESKTOP XDG_CONFIG_HOME="$work/config" \
    "$build/tools/tavlo-wallpaper/tavlo-wallpaper" --folder folder set bg1600.bmp -- \
    feh --no-fehbg --bg-scale bg1600.bmp
  kill "$xvfb"
fi
