#!/usr/bin/env bash
# One copy of the program per program folder: a second start shows the
# running copy's window and ends; a killed copy never blocks the next start;
# one that does not answer is not joined by a second; two program folders
# run side by side.
# Usage: single_copy.sh BUILD_DIR
source "$(dirname "$0")/harness.sh"
build=$1

# Starts the program of E2E_PROGRAM_DIR once more, in the foreground: it must
# hand over to the running copy and end with 0.
start_again() {
  local started=$SECONDS status=0
  timeout 40 "$E2E_PROGRAM_DIR/tavlo" >>"$E2E_TMP/again.log" 2>&1 || status=$?
  [ $status = 0 ] || e2e_fail "a second start ended with $status: $(cat "$E2E_TMP/again.log")"
  e2e_log "a second start handed over in $((SECONDS - started)) s"
}

e2e_start_display
e2e_install "$build"
e2e_start_program
wid=$(e2e_find_window)
e2e_wait_geometry "$wid" "545 275 830 500"

# Minimised, then started again: the running copy's window is back and has
# the keyboard.
e2e_click "$wid" 770 10 # 最小化
e2e_wait_for 10 "the window to be iconified" sh -c "xprop -id $wid WM_STATE | grep -q Iconic"
start_again
e2e_wait_for 10 "the window to be mapped again" sh -c "xprop -id $wid WM_STATE | grep -q Normal"
e2e_wait_for 10 "the window to be active" e2e_window_active "$wid"
kill -0 "$E2E_PID" || e2e_fail "the running copy ended"

# Killed: the socket it left behind does not keep the next start from running.
kill -9 "$E2E_PID"
wait "$E2E_PID" 2>/dev/null || true
ls "$XDG_RUNTIME_DIR"/tavlo-*.socket >/dev/null 2>&1 || e2e_fail "the killed copy left no socket to take over"
e2e_start_program
wid=$(e2e_find_window)
start_again
e2e_wait_for 10 "the window to be active after the takeover" e2e_window_active "$wid"

# A running copy that does not answer (stopped here): a second start waits
# for it, then starts nothing and says so.
kill -STOP "$E2E_PID"
status=0
timeout 30 "$E2E_PROGRAM_DIR/tavlo" >"$E2E_TMP/stuck.log" 2>&1 || status=$?
kill -CONT "$E2E_PID"
[ $status != 0 ] || e2e_fail "a second start beside a copy that did not answer ended with 0"
grep -q "没有回应" "$E2E_TMP/stuck.log" ||
  e2e_fail "a second start beside a copy that did not answer said nothing: $(cat "$E2E_TMP/stuck.log")"
start_again

# A second program folder runs beside the first.
first_pid=$E2E_PID
other=$E2E_TMP/other
cmake --install "$build" --prefix "$other" >/dev/null
"$other/tavlo" >>"$E2E_TMP/other.log" 2>&1 &
E2E_PID=$!
E2E_PIDS+=("$E2E_PID")
other_wid=$(e2e_find_window)
[ "$other_wid" != "$wid" ] || e2e_fail "the second folder's program shows the first one's window"
sleep 2
kill -0 "$first_pid" || e2e_fail "the first folder's program ended when the second started"
kill -0 "$E2E_PID" || e2e_fail "the second folder's program ended: $(cat "$E2E_TMP/other.log")"
# Each keeps its own socket: a start in the first folder still reaches the
# first copy.
start_again
e2e_wait_for 10 "the first folder's window to be active" e2e_window_active "$wid"
echo "PASS"
