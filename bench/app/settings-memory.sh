#!/usr/bin/env bash
# Peak memory of the program until its window is painted, with normal
# settings files and with a 50 MB line in BGPicList.ini (a damaged or
# hostile list): the long line must cost next to nothing.
#   bench/app/settings-memory.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
probe="$build/bench/app/tavlo_startup_probe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Peak resident memory (KB) of one start until the window is painted.
peak() {
  local folder=$1 report="$work/report" pid
  : >"$report"
  /usr/bin/time -f %M -o "$work/peak" "$probe" "$folder" 3 3>"$report" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 600); do grep -q p "$report" && break; sleep 0.1; done
  # The probe is the child of time: end it by its id.
  for child in $(pgrep -P "$pid"); do kill -TERM "$child" 2>/dev/null || true; done
  wait "$pid" 2>/dev/null || true
  cat "$work/peak"
}

for kind in normal long-line; do
  folder="$work/$kind"
  mkdir -p "$folder/Data"
  printf 'A1.bmp\r\nA1.bmp\r\n' >"$folder/Data/BGPicList.ini"
  if [ "$kind" = long-line ]; then
    { printf 'A1.bmp\r\n'; head -c $((50 << 20)) /dev/zero | tr '\0' 'x'; printf '\r\nA1.bmp\r\n'; } \
      >"$folder/Data/BGPicList.ini"
  fi
  runs=()
  for _ in 1 2 3; do runs+=("$(peak "$folder")"); done
  median=$(printf '%s\n' "${runs[@]}" | sort -n | sed -n 2p)
  printf '%-10s peak memory to the painted window: %6d MB (median of 3)\n' "$kind" $((median / 1024))
done
