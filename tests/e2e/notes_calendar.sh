#!/usr/bin/env bash
# The notes as a person reaches them: open "日历记事" from the options menu,
# pick a day in the calendar, type a note, pick another day, come back;
# restart the program and find the note again, on disk and on screen (by
# the window's own export).
# Usage: notes_calendar.sh BUILD_DIR
export E2E_SCREEN=1280x720x24
source "$(dirname "$0")/harness.sh"
build=$1

e2e_start_display
e2e_install "$build"
notes_tool="$E2E_PROGRAM_DIR/tavlo-notes"
[ -x "$notes_tool" ] || e2e_fail "tavlo-notes is not installed beside the program"

# Calendar cells in the notes window: the grid starts at (8, 40) in chnRili,
# which sits at (10, 38) in the window, inside the framed day area below the
# row of buttons; columns after the 6-pixel one are 55 wide, week rows 27
# high below the 18-pixel weekday row. The third week row always lies inside
# the shown month.
cell() { echo "$((10 + 8 + 6 + 55 * ($1 - 1) + 27)) $((38 + 40 + 18 + 27 * ($2 - 1) + 13))"; }
read -r day1_x day1_y <<<"$(cell 4 3)"
read -r day2_x day2_y <<<"$(cell 2 3)"
editor_x=210 editor_y=340   # rdtAbc, below the calendar
export_x=898 export_y=19    # 内容导出, at the right end of the week page's buttons
# Clicks and keys reach the program in the order they are sent, so steps of
# input follow each other without waiting; the script waits where the next
# step needs a window shown or the program done with its input.

# Opens the options menu of the main window and waits until it is shown.
open_options_menu() {
  local before
  before=$(e2e_visible_windows)
  e2e_click "$1" 690 61
  e2e_wait_for 20 "the options menu" e2e_new_window "$before"
}

# Opens the options menu and chooses its first shown item, "日历记事";
# prints the notes window's id.
open_notes() {
  local main=$1 wid
  open_options_menu "$main"
  xdotool key Down Return
  e2e_wait_for 20 "the 日历记事 window" e2e_window_titled 日历记事
  wid=$(e2e_window_titled 日历记事)
  # In front of the main window, whole on the screen.
  xdotool windowmove --sync "$wid" 20 20 2>/dev/null || true
  xdotool windowactivate --sync "$wid" 2>/dev/null || true
  e2e_wait_for 10 "the 日历记事 window to be active" e2e_window_active "$wid"
  echo "$wid"
}

# --- First start: write a note for one day --------------------------------
e2e_start_program
main=$(e2e_find_window)
notes=$(open_notes "$main")
e2e_click "$notes" "$day1_x" "$day1_y"
e2e_click "$notes" "$editor_x" "$editor_y"
xdotool type --delay 20 "e2e note one"
e2e_click "$notes" "$day2_x" "$day2_y"     # another day: the note is saved under the first
e2e_click "$notes" "$day1_x" "$day1_y"     # and back

# The day whose stored note holds `text`; fails when none does.
note_key() {
  local key
  for key in $("$notes_tool" --folder "$E2E_PROGRAM_DIR" list); do
    "$notes_tool" --folder "$E2E_PROGRAM_DIR" show "$key" | grep -q "$1" && { echo "$key"; return 0; }
  done
  return 1
}
e2e_wait_for 15 "a day note holding the typed text" note_key "e2e note one"
found=$(note_key "e2e note one")
e2e_log "the note is stored under $found"
# Searching finds it, by its own line.
[ "$("$notes_tool" --folder "$E2E_PROGRAM_DIR" search "E2E NOTE")" = "$found	e2e note one" ] ||
  e2e_fail "tavlo-notes search does not find the note: $("$notes_tool" --folder "$E2E_PROGRAM_DIR" search "E2E NOTE" 2>&1)"

# Closes the notes window (the window manager's close), then ends the
# program from the options menu.
xdotool windowactivate --sync "$notes" 2>/dev/null || true
xdotool key alt+F4
e2e_wait_for 20 "the 日历记事 window to close" sh -c "! xwininfo -id $notes | grep -q IsViewable"
xdotool windowactivate --sync "$main" 2>/dev/null || true
open_options_menu "$main"
xdotool key Up Return                        # the last item, "退出程序"
e2e_wait_exit

# --- Second start: the same day shows the same note -----------------------
e2e_start_program
main=$(e2e_find_window)
notes=$(open_notes "$main")
e2e_click "$notes" "$day1_x" "$day1_y"
e2e_click "$notes" "$export_x" "$export_y"  # 内容导出
e2e_type_file_name '^(Save|保存|另存为)' "$E2E_TMP/shown"
e2e_wait_for 20 "the export" test -f "$E2E_TMP/shown.txt"
grep -q "e2e note one" "$E2E_TMP/shown.txt" || e2e_fail "after a restart the day shows: $(cat "$E2E_TMP/shown.txt")"
[ "$(tail -c 2 "$E2E_TMP/shown.txt" | od -An -c | tr -d ' ')" = '\r\n' ] || e2e_fail "the export does not end in CR LF"
e2e_log "after a restart the day shows its note"

# --- Ended by a signal while the text is still in the editor -----------------
# A logout or `kill` ends the program as its own exit does: what the day
# editor holds is saved, although the cursor never left it.
xdotool windowactivate --sync "$notes" 2>/dev/null || true
e2e_wait_for 10 "the 日历记事 window to be active" e2e_window_active "$notes"
e2e_click "$notes" "$day2_x" "$day2_y"
e2e_click "$notes" "$editor_x" "$editor_y"
xdotool type --delay 20 "ended by a signal"
e2e_wait_input_taken "$notes" "$editor_x" "$editor_y"   # the signal is no input: it could overtake the keys
kill -TERM "$E2E_PID"
e2e_wait_exit
note_key "ended by a signal" >/dev/null || e2e_fail "the text in the editor was lost when the program was ended by a signal"
e2e_log "a signal ends the program with the editor's text saved"
echo "PASS"
