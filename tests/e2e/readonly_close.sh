#!/usr/bin/env bash
# The close button of a program whose "data\FormSize.ini" cannot be written:
# it says so, and the program still ends once the message is answered.
# Usage: readonly_close.sh BUILD_DIR
source "$(dirname "$0")/harness.sh"
build=$1

e2e_start_display
e2e_install "$build"
e2e_start_program
wid=$(e2e_find_window)
e2e_wait_geometry "$wid" "545 275 830 500"

# Nothing can replace the file now: a folder with something in it stands at
# its name (a read-only folder would stop any user but root).
sizes="$E2E_PROGRAM_DIR/Data/FormSize.ini"
rm -f "$sizes"
mkdir -p "$sizes/keep"

e2e_click "$wid" 805 10
# The message: a second visible window of the program.
message_shown() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null || true); do
    [ "$w" != "$wid" ] && return 0
  done
  return 1
}
e2e_wait_for 15 "the message about the geometry file" message_shown
kill -0 "$E2E_PID" || e2e_fail "the program ended before its message was answered"
xdotool key Return
e2e_wait_exit
[ -d "$sizes/keep" ] || e2e_fail "the folder at $sizes was touched"
echo "PASS"
