#!/usr/bin/env bash
# The program in a folder whose name is not UTF-8 (张三 in GBK, as a home
# folder copied from an older system has it), with a current picture and a
# background named in GBK too: it starts, shows the picture and its own web
# page, applies the background, and keeps those names in its files byte for
# byte.
# Usage: any_path.sh BUILD_DIR
export E2E_SCREEN=1280x720x24
source "$(dirname "$0")/harness.sh"
build=$1

unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
      MATE_DESKTOP_SESSION_ID SWAYSOCK WAYLAND_DISPLAY

zhang_san=$'\xd5\xc5\xc8\xfd'
background=$'\xb1\xb3\xbe\xb0'.bmp # 背景
e2e_start_display
E2E_PROGRAM_DIR=$(mktemp -d)
dir="$E2E_PROGRAM_DIR/$zhang_san"
cmake --install "$build" --prefix "$dir" >/dev/null
[ -x "$dir/tavlo" ] || e2e_fail "install left no program in the GBK-named folder"

mkdir -p "$dir/Data" "$dir/pictures"
convert -size 200x150 plasma:fractal -seed 11 BMP3:"$E2E_TMP/photo.bmp"
convert -size 1280x720 gradient:navy-teal BMP3:"$E2E_TMP/background.bmp"
cp "$E2E_TMP/photo.bmp" "$dir/pictures/photo.bmp"
cp "$E2E_TMP/background.bmp" "$dir/source/DeskTopBG/$background"
printf '%s\r\n' "$dir/pictures/photo.bmp" >"$dir/Data/tmppic.ini"
printf '%s\r\nA1.bmp\r\n%s\r\n' "$background" "$background" >"$dir/Data/BGPicList.ini"
printf '0\r\n' >"$dir/Data/configSetBg.ini"
cp "$dir/Data/tmppic.ini" "$E2E_TMP/tmppic.ini"
cp "$dir/Data/BGPicList.ini" "$E2E_TMP/BGPicList.ini"

"$dir/tavlo" >>"$E2E_TMP/tavlo.log" 2>&1 &
E2E_PID=$!
E2E_PIDS+=($E2E_PID)
wid=$(e2e_find_window)
e2e_wait_for 20 "the current picture to be shown" e2e_window_shows_picture "$wid" "$E2E_TMP/photo.bmp"

# The shipped start page, found by its own bytes: its heading's blue shows.
heading_pixels() {
  import -window "$wid" "$E2E_TMP/window.png" 2>/dev/null || return 1
  convert "$E2E_TMP/window.png" -crop 300x250+5+81 +repage -fuzz 12% -transparent '#1f5faf' \
    -alpha extract -negate -format '%[fx:round(mean*w*h)]' info:
}
page_shown() { [ "$(heading_pixels)" -gt 30 ]; }
e2e_wait_for 60 "the web panel to show the shipped page" page_shown

# Apply: the GBK-named background with the picture at its top right.
root_before=$(e2e_root_pixmap)
e2e_click "$wid" 784 59
e2e_wait_for 20 "Mix.bmp" test -f "$dir/source/DeskTopBG/Mix.bmp"
e2e_wait_root_pixmap_change "$root_before"
convert "$E2E_TMP/background.bmp" "$E2E_TMP/photo.bmp" -geometry +1028+4 -composite BMP3:"$E2E_TMP/want.bmp"
differ=$(compare -metric AE "$E2E_TMP/want.bmp" "$dir/source/DeskTopBG/Mix.bmp" null: 2>&1 || true)
[ "$differ" = 0 ] || e2e_fail "Mix.bmp is not the GBK-named background with the picture ($differ pixels differ)"

e2e_click "$wid" 812 10
e2e_wait_exit
cmp -s "$dir/Data/tmppic.ini" "$E2E_TMP/tmppic.ini" || e2e_fail "tmppic.ini changed: $(od -c "$dir/Data/tmppic.ini")"
cmp -s "$dir/Data/BGPicList.ini" "$E2E_TMP/BGPicList.ini" || e2e_fail "BGPicList.ini changed: $(od -c "$dir/Data/BGPicList.ini")"
[ -s "$dir/Data/FormSize.ini" ] || e2e_fail "the geometry was not kept"
if grep -q "terminate\|不是 http" "$E2E_TMP/tavlo.log"; then e2e_fail "$(cat "$E2E_TMP/tavlo.log")"; fi
echo "PASS"
