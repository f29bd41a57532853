#!/usr/bin/env bash
# Builds the Debian package and checks it without installing it: lintian,
# the licence, the desktop entry and metainfo, the manual pages and bash
# completion, the launcher's per-user program folder (the user's only) and
# the tools through it, and the program started through the launcher on
# Xvfb, before and after an upgrade to a newer package.
#
# Reuses the build tree build/ when there is one (the test command has just
# built it), otherwise configures build-package/ with the program only.
set -euo pipefail
cd "$(dirname "$0")/../.."

export E2E_SCREEN=1280x720x24
source tests/e2e/harness.sh
work=$E2E_TMP
log() { echo "debian-package: [${SECONDS}s] $*" >&2; }

# --- The packages --------------------------------------------------------
build=build
if ! grep -qs '^TAVLO_GUI:BOOL=ON' "$build/CMakeCache.txt"; then
  build=build-package
  if [ ! -f "$build/CMakeCache.txt" ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$build" -G Ninja -DTAVLO_TESTS=OFF -DTAVLO_BENCH=OFF \
      "${launcher[@]}" >/dev/null
  fi
fi
cmake --build "$build" --target tavlo_package_files >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
newer=$version+1
(cd "$build" && cpack -G DEB -B "$work/first" >/dev/null)
# The newer build: the same binaries under a higher version, which is what
# the launcher's upgrade check looks at.
(cd "$build" && cpack -G DEB -B "$work/second" -R "$newer" >/dev/null)
deb=$work/first/tavlo_${version}_amd64.deb
newer_deb=$work/second/tavlo_${newer}_amd64.deb
[ -f "$deb" ] && [ -f "$newer_deb" ] || e2e_fail "cpack made no $deb or $newer_deb"
log "made $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) and $(basename "$newer_deb")"

# --- lintian: errors and warnings fail, the rest is shown ----------------
lintian_ok=1
findings=$(lintian --fail-on error,warning "$deb" 2>&1) || lintian_ok=0
grep -v 'root privileges' <<<"$findings" >&2 || true
[ $lintian_ok = 1 ] || e2e_fail "lintian found errors or warnings in $(basename "$deb")"

# --- The package's files -------------------------------------------------
root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/opt/tavlo
dpkg-deb -f "$deb" Depends | grep -q 'fonts-noto-cjk' || e2e_fail "the package does not depend on the CJK fonts"
# A Wayland session copies the screen only through the portal and a backend.
dpkg-deb -f "$deb" Depends | grep -qw 'xdg-desktop-portal' || e2e_fail "the package does not depend on the portal"
for recommended in xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire; do
  dpkg-deb -f "$deb" Recommends | grep -qw "$recommended" || e2e_fail "the package does not recommend $recommended"
done
# No maintainer scripts: removing the package cannot reach the users' folders.
dpkg-deb -e "$deb" "$work/control"
for script in preinst postinst prerm postrm; do
  [ ! -e "$work/control/$script" ] || e2e_fail "the package has a $script script"
done
[ -x "$program/tavlo" ] && [ -f "$program/source/DeskTopBG/A1.bmp" ] && [ -d "$program/site" ] ||
  e2e_fail "the program folder in /opt/tavlo is incomplete"
[ ! -e "$program/Data" ] || e2e_fail "the package ships a Data folder"
for tool in "$program"/tavlo-*; do
  [ "$(readlink "$root/usr/bin/$(basename "$tool")")" = tavlo ] ||
    e2e_fail "$(basename "$tool") has no link to the launcher on the path"
done
desktop=$(echo "$root"/usr/share/applications/*.desktop)
desktop-file-validate "$desktop" || e2e_fail "desktop-file-validate rejects $(basename "$desktop")"
metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
# No errors and no warnings; the pedantic remarks are shown.
validation=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || e2e_fail "appstreamcli rejects the metainfo: $validation"
grep -v '^$' <<<"$validation" | sed 's/^/appstreamcli: /' >&2
! grep -Eq '^[EW]:' <<<"$validation" || e2e_fail "appstreamcli warns about the metainfo"
grep -qx 'Name=Tavlo助手' "$desktop" || e2e_fail "the desktop entry is not named Tavlo助手"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
  e2e_fail "the metainfo does not launch $(basename "$desktop")"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 32 48 64 128 256; do
  got=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png")
  [ "$got" = "${size}x$size" ] || e2e_fail "the ${size}x$size icon is $got"
done
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || e2e_fail "no scalable icon $icon.svg"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")

# A free licence, the same everywhere: LICENSE, the machine-readable
# copyright file (Expat is Debian's name for MIT) and the metainfo.
copyright=$root/usr/share/doc/tavlo/copyright
[ "$(head -n1 "$copyright")" = 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ] ||
  e2e_fail "the copyright file is not in the machine-readable format"
[ "$(grep -c '^License: Expat$' "$copyright")" = 2 ] || e2e_fail "the copyright file does not give the files the Expat licence"
diff <(sed -n '/^Permission is hereby granted/,$p' LICENSE | sed 's/^$/./; s/^/ /') \
  <(sed -n '/^ Permission is hereby granted/,$p' "$copyright") >&2 ||
  e2e_fail "the copyright file's terms are not those of LICENSE"
grep -q '<project_license>MIT</project_license>' "$metainfo" || e2e_fail "the metainfo names no project licence MIT"
grep -q '<metadata_license>CC0-1.0</metadata_license>' "$metainfo" || e2e_fail "the metainfo names no metadata licence"
# The help and feedback pages open in the browser through xdg-open.
dpkg-deb -f "$deb" Recommends | grep -Eq '(^|, )xdg-utils(,|$)' || e2e_fail "the package does not recommend xdg-utils"

log "lintian, licence, desktop entry and metainfo checked"

# --- Manual pages and bash completion -------------------------------------
# Each tool has a page of its own that man renders without a warning (as
# lintian renders it) and the program's page lists; each tool's name loads
# the tools' completion through bash-completion's own loader.
man1=$root/usr/share/man/man1
completions=$root/usr/share/bash-completion/completions
render_page() {
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || e2e_fail "man warns about $(basename "$1"): $warnings"
  warnings=$(zcat "$1" | preconv | groff -ww -z -man -Tutf8 2>&1)
  [ -z "$warnings" ] || e2e_fail "groff warns about $(basename "$1"): $warnings"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$1" 2>/dev/null
}
program_page=$(render_page "$man1/tavlo.1.gz")
tools=()
for tool in "$program"/tavlo-*; do tools+=("$(basename "$tool")"); done
[ ${#tools[@]} -ge 5 ] || e2e_fail "the program folder has only ${#tools[@]} tools: ${tools[*]}"
for tool in "${tools[@]}"; do
  page=$man1/$tool.1.gz
  [ -f "$page" ] && [ ! -L "$page" ] || e2e_fail "$tool has no manual page of its own"
  text=$(render_page "$page")
  grep -q "^       $tool " <<<"$text" || e2e_fail "the page of $tool does not show its usage"
  grep -q "$tool(1)" <<<"$program_page" || e2e_fail "tavlo.1 does not list $tool(1)"
  [ "$(readlink "$completions/$tool")" = tavlo ] || e2e_fail "no bash completion for $tool"
  loaded=$(XDG_DATA_DIRS=$root/usr/share bash --norc --noprofile -c \
    "source /usr/share/bash-completion/bash_completion && __load_completion $tool && complete -p $tool" 2>&1) ||
    e2e_fail "bash-completion does not load a completion for $tool: $loaded"
done
[ "$(head -c2 "$completions/tavlo")" != '#!' ] && [ ! -x "$completions/tavlo" ] ||
  e2e_fail "the completion file is a script of its own"

log "manual pages and bash completion checked"

# --- The launcher without a display --------------------------------------
tree_digest() { (cd "$1" && find . -type f -exec sha256sum {} + | sort); }
shipped_before=$(tree_digest "$root")

# A tool through its link: the user's folder is laid out first.
user1=$work/user1
month=$(HOME=$user1 "$root/usr/bin/tavlo-cal" month 2026-12) || e2e_fail "tavlo-cal through the launcher failed"
[ -n "$month" ] || e2e_fail "tavlo-cal through the launcher printed nothing"
folder1=$user1/.local/share/tavlo
for file in tavlo tavlo-cal source/DeskTopBG/A1.bmp site/rs/Tavlo.htm; do
  cmp -s "$program/$file" "$folder1/$file" || e2e_fail "the launcher did not bring $file into $folder1"
done
# The folder and all in it are the user's only; the programs stay runnable.
private_folder() {
  local open
  [ "$(stat -c %a "$1")" = 700 ] || e2e_fail "$1 is open to others: $(stat -c %a "$1")"
  open=$(find "$1" ! -type l -perm /077 -printf '%m %P\n')
  [ -z "$open" ] || e2e_fail "open to others in $1: $open"
  for tool in "$1"/tavlo "$1"/tavlo-*; do
    [ -x "$tool" ] || e2e_fail "$tool cannot be run"
  done
}
private_folder "$folder1"
# Up to date, a start copies nothing.
inode=$(stat -c %i "$folder1/tavlo")
HOME=$user1 "$root/usr/bin/tavlo-cal" month 2026-12 >/dev/null
[ "$(stat -c %i "$folder1/tavlo")" = "$inode" ] || e2e_fail "a start with an up-to-date folder copied again"
# Two first starts at once both succeed.
HOME=$work/user3 "$root/usr/bin/tavlo-cal" month 2026-12 >/dev/null &
HOME=$work/user3 "$root/usr/bin/tavlo-cal" month 2026-12 >/dev/null || e2e_fail "one of two starts at once failed"
wait $! || e2e_fail "one of two starts at once failed"
cmp -s "$program/tavlo" "$work/user3/.local/share/tavlo/tavlo" || e2e_fail "two starts at once left a broken copy"
# A second user with XDG_DATA_HOME has a folder of their own.
HOME=$work/user2 XDG_DATA_HOME=$work/xdg2 "$root/usr/bin/tavlo-cal" month 2026-12 >/dev/null
[ -x "$work/xdg2/tavlo/tavlo" ] && [ ! -e "$work/user2/.local" ] || e2e_fail "XDG_DATA_HOME was not followed"
# The folder above the program's keeps the user's umask.
[ "$(stat -c %a "$work/xdg2")" = "$(printf '%o' $((0777 & ~$(umask))))" ] ||
  e2e_fail "the launcher made $work/xdg2 with rights $(stat -c %a "$work/xdg2")"
# Without any home the launcher says why instead of writing somewhere odd.
if message=$(env -u HOME -u XDG_DATA_HOME "$root/usr/bin/tavlo" 2>&1); then
  e2e_fail "the launcher started without a home folder"
fi
grep -q 'HOME' <<<"$message" || e2e_fail "the launcher's message without a home folder: $message"

# Every tool through its link: --help on standard output, its version, the
# usage line and exit 2 for a wrong command line, nothing else on stderr.
for tool in "${tools[@]}"; do
  help=$(HOME=$user1 "$root/usr/bin/$tool" --help 2>"$work/stderr") || e2e_fail "$tool --help failed"
  [[ "$help" == "用法：$tool"* ]] && [ ! -s "$work/stderr" ] ||
    e2e_fail "$tool --help: '$(head -n1 <<<"$help")' '$(cat "$work/stderr")'"
  got=$(HOME=$user1 "$root/usr/bin/$tool" --version 2>&1) || e2e_fail "$tool --version failed"
  [ "$got" = "$tool $version" ] || e2e_fail "$tool --version says '$got'"
  status=0
  HOME=$user1 "$root/usr/bin/$tool" --no-such-option 2>"$work/stderr" >/dev/null || status=$?
  [ $status = 2 ] && grep -q "^用法：$tool" "$work/stderr" || e2e_fail "$tool --no-such-option: exit $status, '$(cat "$work/stderr")'"
done

log "the launcher's user folders checked"

# --- The program through the launcher on Xvfb ----------------------------
# No desktop session: the wallpaper goes to the root window.
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
  MATE_DESKTOP_SESSION_ID SWAYSOCK WAYLAND_DISPLAY XDG_DATA_HOME
e2e_start_display
home=$work/home
folder=$home/.local/share/tavlo
bg=$folder/source/DeskTopBG
mkdir -p "$home/pictures"
convert -size 200x150 plasma:fractal -seed 7 "$home/pictures/photo.png"
convert -size 1600x900 gradient:navy-teal -quality 95 "$home/pictures/sea.jpg"

start_through_launcher() {
  HOME=$home "$root/usr/bin/tavlo" >>"$work/tavlo.log" 2>&1 &
  E2E_PID=$!
  E2E_PIDS+=("$E2E_PID")
}

start_through_launcher
wid=$(e2e_find_window)
[ "$(readlink "/proc/$E2E_PID/exe")" = "$folder/tavlo" ] || e2e_fail "the program does not run from the user's folder"
got_class=$(xprop -id "$wid" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"/\1/p')
[ "$got_class" = "$wm_class" ] || e2e_fail "the window's class is '$got_class', the desktop entry says '$wm_class'"
e2e_wait_geometry "$wid" "225 95 830 500"
# A PNG becomes the current picture as tmp/tmp.bmp in the user's folder.
e2e_click "$wid" 360 65 # 插入图片
e2e_choose_file "$home/pictures/photo.png"
e2e_wait_for 20 "tmppic.ini to name tmp.bmp" grep -q "tmp.bmp" "$folder/Data/tmppic.ini"
# Apply: Mix.bmp lies in the user's folder.
e2e_click "$wid" 784 59
question=$(e2e_find_window_of_size 344x156)
e2e_click "$question" 213 132 # 确  定
e2e_wait_for 20 "Mix.bmp" test -f "$bg/Mix.bmp"
# A background of the user's own.
e2e_add_background "$wid" "$folder" "$home/pictures/sea.jpg"
e2e_click "$wid" 812 10 # close
e2e_wait_exit
for file in BGPicList.ini tmppic.ini configSetBg.ini FormSize.ini; do
  [ -s "$folder/Data/$file" ] || e2e_fail "no Data/$file in the user's folder after the first run"
done
[ "$(tree_digest "$root")" = "$shipped_before" ] || e2e_fail "the launcher or the program changed the packaged tree"
private_folder "$folder"
# Seen from another account with the way up to the folder open, as homes
# often are: nothing in it can be read.
if e2e_second_account; then
  chmod o+x "$work" "$home" "$home/.local" "$home/.local/share"
  e2e_other_can_read "$home/pictures/photo.png" || e2e_fail "the second account cannot reach the home folder"
  while IFS= read -r file; do
    ! e2e_other_can_read "$file" || e2e_fail "the second account can read $file"
  done < <(find "$folder" -type f)
fi

log "first run done"

# --- Upgrade: the newer package replaces the unpacked tree ----------------
# A shipped page the user spoiled and a removed tool come back with it; a
# background of the user's own named A1.bmp stays.
echo spoiled >"$folder/site/rs/Tavlo.htm"
rm "$folder/tavlo-cal"
cp "$bg/sea.bmp" "$bg/A1.bmp"
users_files=(Data/BGPicList.ini Data/tmppic.ini Data/configSetBg.ini source/DeskTopBG/sea.bmp
  source/DeskTopBG/A1.bmp source/DeskTopBG/Mix.bmp tmp/tmp.bmp)
kept_before=$(cd "$folder" && sha256sum "${users_files[@]}")
# As an earlier version left it: open to others. The upgraded program closes it.
chmod -R go+rX "$folder"
rm -rf "$root"
dpkg-deb -x "$newer_deb" "$root"
start_through_launcher
wid=$(e2e_find_window)
[ "$(cat "$folder/.tavlo-version")" = "$(cat "$root/usr/lib/tavlo/version")" ] ||
  e2e_fail "the user's folder does not carry the newer version's stamp"
grep -q "^$newer " "$folder/.tavlo-version" || e2e_fail "the newer stamp does not name version $newer"
cmp -s "$program/site/rs/Tavlo.htm" "$folder/site/rs/Tavlo.htm" || e2e_fail "the upgrade did not renew site/rs/Tavlo.htm"
[ -x "$folder/tavlo-cal" ] || e2e_fail "the upgrade did not bring back tavlo-cal"
[ "$(cd "$folder" && sha256sum "${users_files[@]}")" = "$kept_before" ] ||
  e2e_fail "the upgrade changed the user's files"
# The program shows the current picture of the first run.
e2e_wait_for 20 "the picture of the first run to be shown" e2e_window_shows_picture "$wid" "$folder/tmp/tmp.bmp"
e2e_click "$wid" 812 10
e2e_wait_exit
[ "$(cd "$folder" && sha256sum "${users_files[@]}")" = "$kept_before" ] ||
  e2e_fail "the second run changed the user's files"
private_folder "$folder"

log "PASS"
