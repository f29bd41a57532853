#!/usr/bin/env bash
# The main window's remembered geometry, driven as a person would: first run,
# close button, second start, minimise and restore, and the exit command.
# Usage: shell_geometry.sh BUILD_DIR
source "$(dirname "$0")/harness.sh"
build=$1

expect_file() {
  local file=$1 want=$2 got
  got=$(e2e_show_file "$file" | tr '\n' ' ')
  [ "$got" = "$want" ] || e2e_fail "$file holds '$got', expected '$want'"
}

e2e_start_display
e2e_install "$build"
sizes="$E2E_PROGRAM_DIR/Data/FormSize.ini"

# First run: centred on the 1920 × 1080 screen, and the file written.
e2e_start_program
wid=$(e2e_find_window)
e2e_wait_geometry "$wid" "545 275 830 500"
expect_file "$sizes" '1\r 830\r 500\r 545\r 275\r '

# Move and resize, then close with the close button: the file follows.
xdotool windowmove "$wid" 100 120
xdotool windowsize "$wid" 1000 700
e2e_wait_geometry "$wid" "100 120 1000 700"
# The close button keeps 1 pixel from the right edge: 1000 - 40 .. 1000 - 1.
e2e_click "$wid" 975 10
e2e_wait_exit
expect_file "$sizes" '1\r 1000\r 700\r 100\r 120\r '

# Second start: the window reopens where it was closed.
e2e_start_program
wid=$(e2e_find_window)
e2e_wait_geometry "$wid" "100 120 1000 700"

# Minimise: the window is iconified (it keeps its taskbar entry); activating
# it restores it.
e2e_click "$wid" $((1000 - 822 + 762)) 10
e2e_wait_for 10 "the window to be iconified" sh -c "xprop -id $wid WM_STATE | grep -q Iconic"
xdotool windowactivate "$wid"
e2e_wait_for 10 "the window to come back" sh -c "xprop -id $wid WM_STATE | grep -q Normal"
e2e_wait_geometry "$wid" "100 120 1000 700"

# Move the window, then leave through 选项 → 退出程序: the file stays as it was.
xdotool windowmove "$wid" 300 200
e2e_wait_geometry "$wid" "300 200 1000 700"
before=$(md5sum <"$sizes")
e2e_click "$wid" $((1000 - 822 + 690)) 62
e2e_wait_other_window "$wid" "the options menu" >/dev/null
# The last item of the options menu is 退出程序.
xdotool key Up
xdotool key Return
e2e_wait_exit
[ "$(md5sum <"$sizes")" = "$before" ] || e2e_fail "退出程序 changed $sizes"
expect_file "$sizes" '1\r 1000\r 700\r 100\r 120\r '
echo "PASS"
