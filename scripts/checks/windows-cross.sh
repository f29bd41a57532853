#!/usr/bin/env bash
# Compiles the Windows side of the platform layers with the MinGW-w64 cross
# compiler, so that code which only Windows builds still compiles here.
set -euo pipefail
cd "$(dirname "$0")/../.."

compiler=x86_64-w64-mingw32-g++
if ! command -v "$compiler" >/dev/null; then
  echo "windows-cross: $compiler is missing (package g++-mingw-w64-x86-64)" >&2
  exit 1
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

sources=(
  platform/wallpaper/WindowsWallpaper.cpp
  platform/wallpaper/WindowsWallpaper_windows.cpp
  platform/wallpaper/WallpaperFactory.cpp
  platform/wallpaper/DesktopDetection.cpp
  platform/wallpaper/RecordingWallpaper.cpp
  platform/screencopy/WindowsScreenCopy.cpp
  platform/screencopy/ScreenCopyFactory.cpp
  platform/screencopy/ScreenPicture.cpp
  platform/screencopy/FixedScreenCopy.cpp
)
for source in "${sources[@]}"; do
  "$compiler" -std=c++20 -Wall -Wextra -Werror -municode -DUNICODE -D_UNICODE \
    -Iplatform -Iplatform/wallpaper -Iplatform/screencopy -c "$source" -o "$out/$(basename "$source" .cpp).o"
done

# Linking a small program proves that every system call resolves against the
# Windows import libraries.
cat > "$out/probe.cpp" <<'CPP'
#include "ScreenCopyFactory.h"
#include "WallpaperFactory.h"
#include <cstdio>
int main()
{
    auto backend = tavlo::wallpaper::createSessionBackend();
    std::puts(backend->name().c_str());
    auto screen = tavlo::screencopy::createSessionScreenCopy();
    std::puts(screen->name().c_str());
}
CPP
"$compiler" -std=c++20 -Wall -Wextra -Werror -Iplatform/wallpaper -Iplatform/screencopy -c "$out/probe.cpp" -o "$out/probe.o"
"$compiler" -static -o "$out/probe.exe" "$out"/*.o -ladvapi32 -luser32 -lgdi32
echo "windows-cross: ${#sources[@]} files compiled and linked for Windows"
