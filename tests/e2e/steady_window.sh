#!/usr/bin/env bash
# The main window appears once and stays the same X window from the moment it
# is first seen until the web panel shows its start page: no blink when the
# browser views arrive.
# Usage: steady_window.sh BUILD_DIR
source "$(dirname "$0")/harness.sh"
build=$1

e2e_start_display
e2e_install "$build"
# The web panel (300 × 250 at 5, 81 in the window) shows more than its white
# ground once the start page has been painted into it.
panel_painted() {
  local colours
  colours=$(timeout 10 import -window "$1" -crop 300x250+5+81 +repage -format %k info:- 2>/dev/null) || return 1
  [ "${colours:-1}" -gt 20 ]
}

# Every window made on the root window is recorded: a main window replaced
# between two looks would escape the polling below.
xev -root -event substructure >"$E2E_TMP/created.log" 2>&1 &
E2E_PIDS+=($!)
sleep 0.2

e2e_start_program
first=
deadline=$((SECONDS + 60))
while :; do
  wid=$(e2e_main_window_now)
  # A search can come back empty when another window goes away under it:
  # only a window missing at a second look counts.
  [ -n "$first" ] && [ -z "$wid" ] && sleep 0.05 && wid=$(e2e_main_window_now)
  if [ -z "$first" ]; then
    first=$wid
    [ -n "$first" ] && e2e_log "main window $first"
  elif [ "$wid" != "$first" ]; then
    e2e_fail "the main window changed from '$first' to '${wid:-none}' before the web panel loaded"
  fi
  if [ -n "$first" ] && panel_painted "$first"; then break; fi
  kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended: $(cat "$E2E_TMP/tavlo.log")"
  [ $SECONDS -lt $deadline ] || e2e_fail "the web panel did not load within a minute"
  sleep 0.05
done
# And it stays: a second later it is still the same window.
sleep 1
[ "$(e2e_main_window_now)" = "$first" ] || e2e_fail "the main window changed after the web panel loaded"

# The program made one window of a main window's size, that one. (Its windows
# share the id's client part; the window manager's frames have another.)
base=$((first & ~0x1fffff))
made=
while read -r id width height; do
  if [ $((id & ~0x1fffff)) = "$base" ] && [ "$width" -ge 300 ] && [ "$height" -ge 200 ]; then made+="$((id)) "; fi
done < <(grep -A1 '^CreateNotify' "$E2E_TMP/created.log" |
  sed -n 's/.* window \(0x[0-9a-f]*\), ([-0-9]*,[-0-9]*), width \([0-9]*\), height \([0-9]*\).*/\1 \2 \3/p')
[ "$made" = "$first " ] || e2e_fail "the program made the main-window-sized windows '$made', expected only '$first'"
# And the program knows where its window stands: the options menu opens
# under 选项 (at 675, 56 in the window), not where it would be were the window
# at the screen's corner.
read -r wx wy _ <<<"$(e2e_geometry "$first")"
e2e_click "$first" 690 62
menu=$(e2e_wait_other_window "$first" "the options menu")
read -r mx my _ <<<"$(e2e_geometry "$menu")"
e2e_log "window at $wx,$wy; options menu at $mx,$my"
[ $((mx - wx)) -ge 660 ] && [ $((mx - wx)) -le 720 ] && [ $((my - wy)) -ge 60 ] && [ $((my - wy)) -le 100 ] ||
  e2e_fail "the options menu opened at $mx,$my, not under 选项 of the window at $wx,$wy"
echo "PASS"
