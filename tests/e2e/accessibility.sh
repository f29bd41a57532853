#!/usr/bin/env bash
# The main window and its dialogs through the accessibility bus, as a screen
# reader sees them: the windows frames named by their titles, every command a
# named button with a Chinese tooltip that runs when pressed there, and the
# notes window's calendar a table of named days.
# Usage: accessibility.sh BUILD_DIR
source "$(dirname "$0")/harness.sh"
build=$1
here=$(dirname "$0")
# The system's own Python, which has the AT-SPI bindings.
python=/usr/bin/python3
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
  [ "${TAVLO_REQUIRE_ALL_TOOLS:-0}" != 1 ] || e2e_fail "python3-pyatspi is missing"
  echo "SKIPPED: python3-pyatspi is missing"
  exit 0
fi

e2e_start_display
e2e_install "$build"
# A session bus, on which the accessibility bus starts when asked for; the
# program joins it as it does when a screen reader runs.
eval "$(dbus-launch --sh-syntax)"
E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_start_program
wid=$(e2e_find_window)

accessible() { timeout 60 "$python" "$here/accessible_commands.py" "$@" || e2e_fail "accessible_commands.py $*"; }

accessible check "$E2E_PID" 插入图片 截图 选项 应用到桌面 添加背景图片 最小化 关闭 >&2
# The window is a frame named by its title.
accessible frame "$E2E_PID" Tavlo助手

# 选项 opens its menu.
accessible press "$E2E_PID" 选项
menu=$(e2e_wait_other_window "$wid" "the options menu")
xdotool key Escape
e2e_wait_for 10 "the menu to close" sh -c "! xdotool search --onlyvisible --pid $E2E_PID | grep -qx $menu"

# 添加背景图片 opens the picker, whose own buttons are named too; its 关闭
# closes it.
accessible press "$E2E_PID" 添加背景图片
picker=$(e2e_find_window_of_size 524x286)
accessible check "$E2E_PID" 移除 添加 确定 >&2
accessible press "$E2E_PID" 关闭 dialog
e2e_wait_for 10 "the picker to close" sh -c "! xdotool search --onlyvisible --pid $E2E_PID | grep -qx $picker"

# 应用到桌面 without a picture says what to do first; the message's 确定
# closes it.
accessible press "$E2E_PID" 应用到桌面
message=$(e2e_wait_other_window "$wid" "the message")
accessible press "$E2E_PID" 确定 alert
e2e_wait_for 10 "the message to close" sh -c "! xdotool search --onlyvisible --pid $E2E_PID | grep -qx $message"

# 日历记事 from the options menu: its calendar is a table of named days.
accessible press "$E2E_PID" 选项
e2e_wait_other_window "$wid" "the options menu" >/dev/null
xdotool key Down Return # its first shown item
notes=""
for _ in $(seq 200); do notes=$(e2e_window_titled 日历记事) && break; sleep 0.1; done
[ -n "$notes" ] || e2e_fail "the notes window did not open"
accessible frame "$E2E_PID" 日历记事
accessible table "$E2E_PID" 日历 >&2
xdotool windowactivate --sync "$notes" 2>/dev/null || true
xdotool key alt+F4
e2e_wait_for 10 "the notes window to close" sh -c "! xdotool search --onlyvisible --pid $E2E_PID | grep -qx $notes"

# 最小化, then 关闭 from the restored window: the close sequence writes the
# geometry file.
accessible press "$E2E_PID" 最小化
e2e_wait_for 10 "the window to be iconified" sh -c "xprop -id $wid WM_STATE | grep -q Iconic"
xdotool windowactivate "$wid"
e2e_wait_for 10 "the window to come back" sh -c "xprop -id $wid WM_STATE | grep -q Normal"
rm "$E2E_PROGRAM_DIR/Data/FormSize.ini"
accessible press "$E2E_PID" 关闭
e2e_wait_exit
[ -s "$E2E_PROGRAM_DIR/Data/FormSize.ini" ] || e2e_fail "关闭 ended the program without its close sequence"
echo "PASS"
