#!/usr/bin/env bash
# The screen capture, driven as a person would on a plain X11 session: a
# known picture on the screen, "截  图", 最小化后截图 to the question, a region dragged
# out and sent with Enter; "tmp\tmp.bmp" must be that region of the screen
# exactly, the main window must come back showing it, and an apply must put
# it into Mix.bmp.
# Usage: capture.sh BUILD_DIR
export E2E_SCREEN=1280x720x24
source "$(dirname "$0")/harness.sh"
build=$1

# No desktop session: the screen is copied from the root window, the
# wallpaper goes there too.
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP XDG_SESSION_TYPE DESKTOP_SESSION KDE_FULL_SESSION \
      GNOME_DESKTOP_SESSION_ID MATE_DESKTOP_SESSION_ID SWAYSOCK WAYLAND_DISPLAY

e2e_start_display
e2e_install "$build"
bg="$E2E_PROGRAM_DIR/source/DeskTopBG"
tmp_bmp="$E2E_PROGRAM_DIR/tmp/tmp.bmp"

pixels_differ() { compare -metric AE ${3:+-fuzz $3} "$1" "$2" null: 2>&1 || true; }

# --- A known picture on the screen ------------------------------------------
convert -size 1280x720 plasma:fractal -seed 7 PNG24:"$E2E_TMP/screen.png"
display -window root "$E2E_TMP/screen.png" || true   # sets the root background; its status says nothing
import -window root "$E2E_TMP/root.png"
[ "$(pixels_differ "$E2E_TMP/screen.png" "$E2E_TMP/root.png")" = 0 ] || e2e_fail "the root window does not show the picture"

# --- 截  图, OK -----------------------------------------------------------------
e2e_start_program
wid=$(e2e_find_window)
e2e_wait_geometry "$wid" "225 95 830 500"
e2e_click "$wid" 426 65                      # 截  图
# The question, by its title on screen: exactly "提示" (no program name added).
e2e_wait_for 20 "a window titled 提示" e2e_window_titled 提示
question=$(e2e_window_titled 提示)
xdotool windowactivate --sync "$question" 2>/dev/null || true
e2e_wait_for 10 "the question to have the keyboard" e2e_window_active "$question"
xdotool key Return                           # 最小化后截图 is the default button

# --- Drag a region and send it ---------------------------------------------
capture=$(e2e_find_window_of_size 1280x720)
e2e_wait_geometry "$capture" "0 0 1280 720"
xdotool windowactivate --sync "$capture" 2>/dev/null || true
# Each move waits until the pointer is there; the capture window takes the
# pointer and keys in the order they are sent.
xdotool mousemove --sync 398 300
xdotool mousemove --sync 400 300 mousedown 1
xdotool mousemove --sync 500 350
xdotool mousemove --sync 640 420
xdotool mouseup 1
xdotool key Return
e2e_wait_for 20 "tmp.bmp" test -f "$tmp_bmp"

convert "$E2E_TMP/root.png" -crop 240x120+400+300 +repage "$E2E_TMP/region.png"
[ "$(identify -format '%wx%h' "$tmp_bmp")" = 240x120 ] || e2e_fail "tmp.bmp is $(identify -format '%wx%h' "$tmp_bmp")"
[ "$(pixels_differ "$E2E_TMP/region.png" "$tmp_bmp")" = 0 ] || e2e_fail "tmp.bmp is not the region of the screen"
grep -q "tmp/tmp.bmp" "$E2E_PROGRAM_DIR/Data/tmppic.ini" || e2e_fail "tmppic.ini is $(e2e_show_file "$E2E_PROGRAM_DIR/Data/tmppic.ini")"

# --- The main window is back and shows it -------------------------------------
wid=$(e2e_find_window)
e2e_wait_for 10 "the main window to come back" sh -c "xprop -id $wid WM_STATE | grep -q Normal"
# Whether the window shows the capture at the current picture's place (a few
# differing pixels allowed for scaling).
shows_capture() {
  import -window "$wid" "$E2E_TMP/window.png" 2>/dev/null || return 1
  convert "$E2E_TMP/window.png" -crop 240x120+315+80 +repage "$E2E_TMP/shown.png"
  differ=$(pixels_differ "$tmp_bmp" "$E2E_TMP/shown.png" 2%)
  [ "${differ%.*}" -lt 300 ]
}
e2e_wait_for 10 "the main window to show the captured picture" shows_capture
e2e_log "picture shown after the capture: $differ of 28800 pixels differ"

# --- Apply: the capture lands in Mix.bmp --------------------------------------
e2e_click "$wid" 784 59
answer=$(e2e_find_window_of_size 344x156)
e2e_click "$answer" 213 132                  # 确  定
e2e_wait_for 20 "Mix.bmp" test -f "$bg/Mix.bmp"   # written whole under its name, never in parts
convert "$bg/A1.bmp" "$tmp_bmp" -geometry +1628+4 -composite BMP3:"$E2E_TMP/want.bmp"
[ "$(pixels_differ "$E2E_TMP/want.bmp" "$bg/Mix.bmp")" = 0 ] || e2e_fail "Mix.bmp is not A1.bmp with the capture at (1628, 4)"
echo "PASS"
