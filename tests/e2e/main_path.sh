#!/usr/bin/env bash
# The main job, driven as a person would on a plain X11 session: insert a
# JPEG through the open dialog, apply it and confirm, and see Mix.bmp on
# disk and on the root window; add a background through the picker, choose
# it, apply again; restart and find the same picture and list.
# Usage: main_path.sh BUILD_DIR
export E2E_SCREEN=1280x720x24
source "$(dirname "$0")/harness.sh"
build=$1

# No desktop session: the wallpaper goes to the root window.
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
      MATE_DESKTOP_SESSION_ID SWAYSOCK WAYLAND_DISPLAY

e2e_start_display
e2e_install "$build"
bg="$E2E_PROGRAM_DIR/source/DeskTopBG"
pictures="$E2E_TMP/pictures"
mkdir -p "$pictures"
convert -size 200x150 plasma:fractal -seed 11 -quality 95 "$pictures/photo.jpg"
convert -size 1600x900 gradient:darkred-orange -quality 95 "$pictures/sunset.jpg"

# Differing pixels between two pictures (ImageMagick).
pixels_differ() { compare -metric AE ${3:+-fuzz $3} "$1" "$2" null: 2>&1 || true; }

# --- First start: insert a JPEG -----------------------------------------
e2e_start_program
wid=$(e2e_find_window)
e2e_wait_geometry "$wid" "225 95 830 500"
e2e_click "$wid" 360 65                      # 插入图片
e2e_choose_file "$pictures/photo.jpg"
e2e_wait_for 20 "photo.bmp" test -f "$pictures/photo.bmp"
e2e_wait_for 10 "tmppic.ini to name photo.bmp" grep -q "photo.bmp" "$E2E_PROGRAM_DIR/Data/tmppic.ini"

# --- Apply, answering the question with "never ask again" ---------------
root_before=$(e2e_root_pixmap)
e2e_click "$wid" 784 59                      # the apply picture, 8 pixels right of its design place
question=$(e2e_find_window_of_size 344x156)
e2e_click "$question" 118 90                 # 下次不再提示
e2e_click "$question" 213 132                # 确  定
e2e_wait_for 20 "Mix.bmp" test -f "$bg/Mix.bmp"
e2e_wait_root_pixmap_change "$root_before"
convert "$bg/A1.bmp" "$pictures/photo.bmp" -geometry +1668+4 -composite BMP3:"$E2E_TMP/want1.bmp"
[ "$(pixels_differ "$E2E_TMP/want1.bmp" "$bg/Mix.bmp")" = 0 ] || e2e_fail "Mix.bmp is not A1.bmp with the picture at (1668, 4)"
grep -q '^0' "$E2E_PROGRAM_DIR/Data/configSetBg.ini" || e2e_fail "the question was not turned off"

# The root window shows Mix.bmp stretched to the screen: look with the program out of the way.
xdotool windowminimize --sync "$wid"
e2e_wait_for 10 "the window to be iconified" sh -c "xprop -id $wid WM_STATE | grep -q Iconic"
import -window root "$E2E_TMP/root1.png"
# The root is painted smoothly: averaged over each pixel's area where it shrinks, as -scale does.
convert "$bg/Mix.bmp" -scale 1280x720! "$E2E_TMP/want-root1.png"
differ=$(pixels_differ "$E2E_TMP/want-root1.png" "$E2E_TMP/root1.png" 3%)
e2e_log "root window vs Mix.bmp stretched: $differ of 921600 pixels differ"
[ "${differ%.*}" -lt 2000 ] || e2e_fail "the root window differs from Mix.bmp stretched in $differ pixels"
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowmap "$wid"
e2e_wait_for 10 "the window to come back" sh -c "xprop -id $wid WM_STATE | grep -q Normal"

# --- The picker: add a background and choose it --------------------------
e2e_add_background "$wid" "$E2E_PROGRAM_DIR" "$pictures/sunset.jpg"
[ "$(e2e_show_file "$E2E_PROGRAM_DIR/Data/BGPicList.ini" | tr '\n' ' ')" = 'sunset.bmp\r A1.bmp\r sunset.bmp\r ' ] ||
  e2e_fail "the list file is $(e2e_show_file "$E2E_PROGRAM_DIR/Data/BGPicList.ini")"

# --- Apply again: no question, the new background ------------------------
rm -f "$bg/Mix.bmp"
e2e_click "$wid" 784 59
e2e_wait_for 20 "the second Mix.bmp" test -f "$bg/Mix.bmp"
convert "$bg/sunset.bmp" "$pictures/photo.bmp" -geometry +1348+4 -composite BMP3:"$E2E_TMP/want2.bmp"
[ "$(pixels_differ "$E2E_TMP/want2.bmp" "$bg/Mix.bmp")" = 0 ] || e2e_fail "the second Mix.bmp is not sunset.bmp with the picture"

# --- Close with the close button and start again --------------------------
e2e_click "$wid" 812 10
e2e_wait_exit
e2e_start_program
wid=$(e2e_find_window)
grep -q "photo.bmp" "$E2E_PROGRAM_DIR/Data/tmppic.ini" || e2e_fail "the current picture was forgotten"
[ "$(e2e_show_file "$E2E_PROGRAM_DIR/Data/BGPicList.ini" | tr '\n' ' ')" = 'sunset.bmp\r A1.bmp\r sunset.bmp\r ' ] ||
  e2e_fail "the list changed across the restart"
e2e_wait_for 20 "the picture to be shown after the restart" e2e_window_shows_picture "$wid" "$pictures/photo.bmp"
echo "PASS"
