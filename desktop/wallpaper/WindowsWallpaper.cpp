#include "WindowsWallpaper.h"

namespace tavlo::wallpaper {

void WindowsWallpaper::SetWallpaper(const std::filesystem::path& path) {
    const std::wstring full = std::filesystem::absolute(path).wstring();
    calls_->setDesktopValue(L"Wallpaper", full);
    calls_->setDesktopValue(L"WallpaperStyle", L"2");
    // Only after both values are written, and with the path itself: current
    // Windows takes a missing path as "back to the default picture". The
    // system loads the file again on every call, so the same path shows the
    // new picture.
    calls_->setDeskWallpaper(full, WindowsDesktopCalls::kUpdateIniFile | WindowsDesktopCalls::kSendChange);
}

}  // namespace tavlo::wallpaper
