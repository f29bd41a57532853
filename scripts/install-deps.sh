#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need.
# Safe to run again: apt-get skips what is already there. Waits for the dpkg
# lock instead of failing when another package manager is running.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  g++-mingw-w64-x86-64
  # running the Windows build of the platform layer and tavlo-cal
  wine64
  # libraries
  qt6-base-dev qt6-webengine-dev qt6-svg-dev qt6-translations-l10n libqt6svg6 libqt6opengl6-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libgif-dev libsqlite3-dev
  libglib2.0-dev libx11-dev libxrandr-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # run time: fonts, desktop mechanisms
  fonts-noto-cjk fonts-wqy-zenhei fonts-liberation
  dbus dbus-x11 dconf-gsettings-backend dconf-cli gsettings-desktop-schemas libglib2.0-bin
  cinnamon-desktop-data mate-desktop-common xfconf sway swaybg grim
  # the screen copy in a Wayland session, and running natively there
  xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire qt6-wayland
  # the desktops' own programs the wallpaper tests drive, and the portal's
  # GNOME backend
  pcmanfm pcmanfm-qt xdg-desktop-portal-gnome
  # end-to-end tests and the side-by-side timings (the Wayland one: XWayland,
  # virtual input through wayvnc, driven from Python); the accessibility bus
  # as a screen reader reads it
  xvfb xauth openbox xdotool x11-utils x11-xserver-utils imagemagick
  xwayland wayvnc python3 at-spi2-core python3-pyatspi
  libjpeg-turbo-progs libvips-tools hyperfine feh
  # notes: an independent reader and writer of rich text
  libreoffice-writer-nogui
  # the Debian package and its checks; the manual pages rendered as man
  # does, the bash completion loaded as bash does, a notes database made by
  # hand for the completion's test
  dpkg-dev fakeroot lintian desktop-file-utils appstream man-db groff-base bash-completion sqlite3
  # an independent reader of the exported iCalendar, and a calendar program
  # that imports it
  python3-icalendar khal
  # the holiday table's cross-check installs an independent package with npm
  nodejs
)
# Debian's nodejs comes without npm; a nodejs from elsewhere may bring its own.
command -v npm >/dev/null || packages+=(npm)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

lock_opts=(-o DPkg::Lock::Timeout=600)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get "${lock_opts[@]}" update -qq
"${sudo_cmd[@]}" apt-get "${lock_opts[@]}" install -y -qq --no-install-recommends "${missing[@]}"
