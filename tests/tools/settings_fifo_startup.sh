#!/usr/bin/env bash
# The program comes up with its window when a settings file is a pipe (which
# nobody writes): the pipe reads as a missing file and stays as it was.
# PROBE is the program itself, reporting "p" on a descriptor once its main
# window has been shown and painted.
set -euo pipefail
probe=$1
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for name in BGPicList.ini tmppic.ini configSetBg.ini FormSize.ini; do
  folder="$work/program-$name"
  mkdir -p "$folder/Data"
  mkfifo "$folder/Data/$name"
  : >"$work/report"
  "$probe" "$folder" 3 3>"$work/report" >"$work/log" 2>&1 &
  pid=$!
  deadline=$((SECONDS + 90))
  until grep -q p "$work/report"; do
    if ! kill -0 "$pid" 2>/dev/null; then
      fail "$name as a pipe: the program ended ($(tail -n 3 "$work/log"))"
      break
    fi
    if [ $SECONDS -ge $deadline ]; then
      fail "$name as a pipe: no window after 90 s"
      break
    fi
    sleep 0.2
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  [ -p "$folder/Data/$name" ] || fail "$name: the pipe was replaced"
done

[ "$failures" = 0 ] || exit 1
echo "the program came up with each settings file a pipe"
