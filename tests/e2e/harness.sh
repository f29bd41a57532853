# End-to-end harness: source it from a test script (bash).
#
#   source "$(dirname "$0")/harness.sh"
#   e2e_start_display            # Xvfb -noreset + openbox on a free display
#   e2e_install "$BUILD_DIR"     # fresh program folder in $E2E_PROGRAM_DIR
#   e2e_start_program            # starts tavlo, sets $E2E_PID
#   wid=$(e2e_find_window)       # the main window's id
#
# Dialogs: e2e_find_window_of_size, e2e_choose_file (the open dialog),
# e2e_add_background (the picker's add and choose).
#
# Everything started here is stopped, and the program folder removed, when
# the script exits. Set E2E_SCREEN (default 1920x1080x24) before starting the
# display, E2E_KEEP=1 to keep the program folder for a look afterwards.

set -euo pipefail

E2E_SCREEN=${E2E_SCREEN:-1920x1080x24}
E2E_PIDS=()
E2E_PID=
E2E_PROGRAM_DIR=
E2E_TMP=$(mktemp -d)
E2E_OTHER=tavlo-second
E2E_OTHER_IDS=
E2E_MADE_ACCOUNT=0

e2e_log() { echo "e2e: $*" >&2; }
e2e_fail() {
  echo "FAIL: $*" >&2
  e2e_report_state >&2
  exit 1
}

# What the screen and the program looked like when a test failed: the
# program's visible windows (a message box shows up here by its title) and
# the end of its output.
e2e_report_state() {
  local wid
  if [ -n "${DISPLAY:-}" ] && [ -n "$E2E_PID" ]; then
    echo "the program's visible windows:"
    for wid in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null || true); do
      echo "  $wid '$(xdotool getwindowname "$wid" 2>/dev/null)' at $(e2e_geometry "$wid" 2>/dev/null)"
    done
    echo "active window: '$(xdotool getactivewindow getwindowname 2>/dev/null || true)'"
  fi
  if [ -s "$E2E_TMP/tavlo.log" ]; then
    echo "the end of the program's output:"
    tail -n 15 "$E2E_TMP/tavlo.log" | sed 's/^/  /'
  fi
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ "$E2E_MADE_ACCOUNT" = 1 ]; then userdel "$E2E_OTHER" 2>/dev/null || true; fi
  if [ -n "$E2E_PROGRAM_DIR" ] && [ "${E2E_KEEP:-0}" != 1 ]; then rm -rf "$E2E_PROGRAM_DIR"; fi
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# Polls a command until it succeeds; fails the test after `seconds`.
e2e_wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || e2e_fail "timed out waiting for $what"
    sleep 0.1
  done
}

# Starts Xvfb (with -noreset: the root window keeps its wallpaper when the
# last client leaves) and openbox, and exports DISPLAY.
e2e_start_display() {
  local n
  # Xvfb picks a free display number itself and reports it: tests running
  # side by side never share a server.
  Xvfb -displayfd 3 -screen 0 "$E2E_SCREEN" -noreset -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 3>"$E2E_TMP/display" &
  E2E_PIDS+=($!)
  e2e_wait_for 20 "Xvfb to report its display" test -s "$E2E_TMP/display"
  n=$(head -n1 "$E2E_TMP/display")
  export DISPLAY=":$n"
  e2e_wait_for 20 "Xvfb on :$n" xdpyinfo
  openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=($!)
  e2e_wait_for 20 "openbox" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
  # No key repeat: on a loaded machine the gap between a typed key's press
  # and release can pass the repeat delay, and the server would type the
  # key again into a file name.
  xset r off
  export QTWEBENGINE_DISABLE_SANDBOX=1
  export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM
  e2e_log "display $DISPLAY ($E2E_SCREEN) with openbox"
}

# Lays out a fresh program folder from the build tree.
e2e_install() {
  local build=$1
  E2E_PROGRAM_DIR=$(mktemp -d)
  cmake --install "$build" --prefix "$E2E_PROGRAM_DIR" >/dev/null
  [ -x "$E2E_PROGRAM_DIR/tavlo" ] || e2e_fail "install left no program in $E2E_PROGRAM_DIR"
}

# Starts the installed program; its output goes to $E2E_TMP/tavlo.log.
e2e_start_program() {
  "$E2E_PROGRAM_DIR/tavlo" >>"$E2E_TMP/tavlo.log" 2>&1 &
  E2E_PID=$!
  E2E_PIDS+=($E2E_PID)
}

# Prints the id of the program's visible main window, waiting for it.
e2e_main_window_now() {
  local wid
  # A visible window of the program, titled, of a real size (the toolkit
  # maps and drops small helper windows on the way). --all: xdotool matches
  # any one of the conditions by default, another program's window too.
  for wid in $(xdotool search --all --onlyvisible --pid "$E2E_PID" --name 'Tavlo' 2>/dev/null || true); do
    local WIDTH=0 HEIGHT=0 X Y WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$wid" 2>/dev/null)" || continue
    if [ "$WIDTH" -ge 300 ] && [ "$HEIGHT" -ge 200 ]; then
      echo "$wid"
      return
    fi
  done
}

# Prints the main window's id once the same window has been found for a
# second (steady_window.sh checks that it never changes).
e2e_find_window() {
  local wid previous= deadline=$((SECONDS + 30))
  while :; do
    wid=$(e2e_main_window_now)
    if [ -n "$wid" ] && [ "$wid" = "$previous" ]; then
      echo "$wid"
      return
    fi
    previous=$wid
    kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended before its window appeared: $(cat "$E2E_TMP/tavlo.log")"
    [ $SECONDS -lt $deadline ] || e2e_fail "the main window did not appear"
    sleep 1
  done
}

# Prints "X Y WIDTH HEIGHT" of a window (outer position on the screen).
e2e_geometry() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}

# Waits until the window has this geometry ("X Y WIDTH HEIGHT").
e2e_wait_geometry() {
  local wid=$1 want=$2 deadline=$((SECONDS + 10)) got
  while :; do
    got=$(e2e_geometry "$wid")
    [ "$got" = "$want" ] && return
    [ $SECONDS -lt $deadline ] || e2e_fail "window geometry is '$got', expected '$want'"
    sleep 0.1
  done
}

# Moves the pointer to (x, y) in the window, then clicks there with the left
# button: the move first, so that the program sees the pointer arrive (the
# server delivers the motion before the press; --sync waits until the pointer
# is there).
e2e_click() {
  local wid=$1 x=$2 y=$3
  xdotool mousemove --sync --window "$wid" "$((x - 2))" "$y"
  xdotool mousemove --sync --window "$wid" "$x" "$y"
  xdotool click 1
}

# Waits until the program shows a window other than its main window (a menu
# or a dialog); prints its id.
e2e_wait_other_window() {
  local main=$1 what=$2 wid deadline=$((SECONDS + 20))
  while :; do
    for wid in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null || true); do
      [ "$wid" != "$main" ] && { echo "$wid"; return; }
    done
    [ $SECONDS -lt $deadline ] || e2e_fail "timed out waiting for $what"
    sleep 0.1
  done
}

# The program's visible windows, one id a line, sorted.
e2e_visible_windows() { xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | sort || true; }

# Prints a visible window of the program that is not among `before` (a list
# from e2e_visible_windows); fails (status 1) when there is none.
e2e_new_window() { comm -13 <(echo "$1") <(e2e_visible_windows) | grep -m1 .; }

# Waits until the program has taken every key and click sent so far to the
# note editor at (x, y) of window `wid`: a right click there opens the
# editor's context menu, which the program shows only after it has handled
# the input before it (one connection delivers them in order). Escape closes
# the menu again. For a step outside the program's input, such as a signal.
e2e_wait_input_taken() {
  local wid=$1 x=$2 y=$3 before menu
  before=$(e2e_visible_windows)
  xdotool mousemove --sync --window "$wid" "$x" "$y" click 3
  e2e_wait_for 20 "the editor's context menu" e2e_new_window "$before"
  menu=$(e2e_new_window "$before")
  xdotool key Escape
  e2e_wait_for 10 "the context menu to close" sh -c "! xwininfo -id $menu | grep -q IsViewable"
}

# The root window's wallpaper pixmap (_XROOTPMAP_ID), empty when none is set.
e2e_root_pixmap() {
  xprop -root _XROOTPMAP_ID 2>/dev/null | sed -n 's/.*# *//p'
}

# Waits until the root window's wallpaper pixmap differs from `previous`.
e2e_wait_root_pixmap_change() {
  local previous=$1
  e2e_wait_for 20 "the root window's wallpaper to change" sh -c \
    "p=\$(xprop -root _XROOTPMAP_ID 2>/dev/null | sed -n 's/.*# *//p'); [ -n \"\$p\" ] && [ \"\$p\" != '$previous' ]"
}

# A window of the program of the given size (a dialog, say), waiting for it.
e2e_find_window_of_size() {
  local want=$1 wid deadline=$((SECONDS + 20))
  while [ $SECONDS -lt $deadline ]; do
    for wid in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null); do
      local X Y WIDTH HEIGHT
      read -r X Y WIDTH HEIGHT <<<"$(e2e_geometry "$wid")"
      [ "${WIDTH}x${HEIGHT}" = "$want" ] && { echo "$wid"; return; }
    done
    sleep 0.2
  done
  e2e_fail "no window of size $want appeared"
}

# The open dialog: once it has the keyboard, type the file's full path into
# its name field.
# A file dialog whose title matches the extended regex `pattern` has the
# keyboard.
e2e_dialog_active() { xdotool getactivewindow getwindowname 2>/dev/null | grep -Eq "$1"; }

# Types `name` into the name field of the file dialog titled by `pattern`
# (replacing what it proposes) and presses Return; waits until the dialog has
# taken it. If it stays open, the keys did not all arrive as meant (a
# completion list can take the Return, a "file not found" box can open over
# it): the name is typed once more before the test fails.
e2e_type_file_name() {
  local pattern=$1 name=$2 dialog deadline typed_again=0
  e2e_wait_for 20 "the dialog to take the keyboard" e2e_dialog_active "$pattern"
  dialog=$(xdotool getactivewindow)
  while :; do
    xdotool key ctrl+a
    xdotool type --delay 5 "$name"
    xdotool key Return
    deadline=$((SECONDS + 10))
    while e2e_dialog_active "$pattern" && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    e2e_dialog_active "$pattern" || return 0
    [ $typed_again = 0 ] || e2e_fail "the dialog did not take $name"
    typed_again=1
    e2e_log "the dialog is still open after typing $name: typing it again"
    if [ "$(xdotool getactivewindow)" != "$dialog" ]; then
      xdotool key Return
      e2e_wait_for 10 "the dialog to have the keyboard again" e2e_window_active "$dialog"
    fi
  done
}

# The open dialog: its name field takes the file's full path.
e2e_choose_file() { e2e_type_file_name '^(Open|打开)' "$1"; }

# Prints the program's visible window whose title on screen is exactly
# `title` (the first one); fails when there is none.
e2e_window_titled() {
  local title=$1 wid
  for wid in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null); do
    [ "$(xprop -id "$wid" _NET_WM_NAME 2>/dev/null)" = "_NET_WM_NAME(UTF8_STRING) = \"$title\"" ] && {
      echo "$wid"
      return 0
    }
  done
  return 1
}
e2e_window_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# Whether the window shows `picture` at the current picture's place (a few
# differing pixels allowed for scaling).
e2e_window_shows_picture() {
  local wid=$1 picture=$2 differ
  import -window "$wid" "$E2E_TMP/window.png" 2>/dev/null || return 1
  convert "$E2E_TMP/window.png" -crop 200x150+315+80 +repage "$E2E_TMP/shown.png"
  differ=$(compare -metric AE -fuzz 2% "$picture" "$E2E_TMP/shown.png" null: 2>&1 || true)
  e2e_log "picture shown: $differ of 30000 pixels differ"
  [ "${differ%.*}" -lt 300 ]
}

# Adds a picture to the background library through the picker and chooses
# it: the picker of the main window `wid`, the program folder `dir`.
e2e_add_background() {
  local wid=$1 dir=$2 picture=$3 picker name
  name=$(basename "${picture%.*}").bmp
  e2e_click "$wid" 158 390 # the add-background picture
  picker=$(e2e_find_window_of_size 524x286)
  e2e_click "$picker" 145 252 # 添  加
  e2e_choose_file "$picture"
  e2e_wait_for 20 "$name in the library" test -f "$dir/source/DeskTopBG/$name"
  e2e_wait_for 10 "the list to hold $name" grep -q "$name" "$dir/Data/BGPicList.ini"
  e2e_click "$picker" 60 64   # the first entry (A1.bmp) ...
  xdotool key Down            # ... and down to the new one
  e2e_click "$picker" 246 252 # 确  定
  e2e_wait_for 10 "the list to choose $name" sh -c "head -n1 '$dir/Data/BGPicList.ini' | grep -q '$name'"
}

# Waits for the program to end; fails after `seconds`.
e2e_wait_exit() {
  local seconds=${1:-15}
  e2e_wait_for "$seconds" "the program to end" sh -c "! kill -0 $E2E_PID"
  wait "$E2E_PID" 2>/dev/null || true
}

# The X11 WM_STATE of a window: Normal, Iconic or Withdrawn.
e2e_wm_state() {
  xprop -id "$1" WM_STATE | sed -n 's/.*window state: *//p'
}

# A file's bytes with CR shown as \r, for comparisons.
e2e_show_file() {
  sed 's/\r/\\r/' "$1"
}

# A second account on the machine, to see what it can read of the user's
# files: made with useradd when running as root (and removed at the end if
# made here). Fails the test where the test command requires every tool,
# and returns 1 (skip) elsewhere, when not running as root.
e2e_second_account() {
  if [ "$(id -u)" != 0 ]; then
    [ "${TAVLO_REQUIRE_ALL_TOOLS:-0}" != 1 ] || e2e_fail "the checks from a second account need root (to make it)"
    e2e_log "SKIPPED the checks from a second account: they need root (to make it)"
    return 1
  fi
  if ! id "$E2E_OTHER" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$E2E_OTHER" && E2E_MADE_ACCOUNT=1
  fi
  # By number: another test removing the account meanwhile changes nothing.
  E2E_OTHER_IDS="--reuid=$(id -u "$E2E_OTHER") --regid=$(id -g "$E2E_OTHER") --clear-groups"
}

# Whether the second account can read `file`; only a refusal for want of
# rights counts as no.
e2e_other_can_read() {
  local error
  # shellcheck disable=SC2086
  error=$(setpriv $E2E_OTHER_IDS cat "$1" 2>&1 >/dev/null) && return 0
  grep -q 'Permission denied' <<<"$error" || e2e_fail "the second account could not try to read $1: $error"
  return 1
}
