#include "RecordingWallpaper.h"
#include "WallpaperTexts.h"

namespace tavlo::wallpaper {

void RecordingWallpaper::SetWallpaper(const std::filesystem::path& path) {
    calls_.push_back(path);
    if (failure_) throw WallpaperError(*failure_);
}

void RecordingWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    monitorCalls_.push_back(pictures);
    if (failure_) throw WallpaperError(texts::onMonitor(pictures.back().monitor.name, *failure_), *failure_);
}

void RecordingWallpaper::SetSpannedWallpaper(const std::filesystem::path& path) {
    spannedCalls_.push_back(path);
    if (failure_) throw WallpaperError(*failure_);
}

void RecordingWindowsCalls::record(Call call) {
    const bool fails = call.function == failing_;
    log_->push_back(std::move(call));
    if (fails) throw WallpaperError(message_);
}

void RecordingWindowsCalls::setDesktopValue(const std::wstring& name, const std::wstring& value) {
    record({"RegSetValueExW", name, value});
}

void RecordingWindowsCalls::setDeskWallpaper(const std::wstring& path, unsigned flags) {
    record({"SystemParametersInfoW", {}, path, flags});
}

}  // namespace tavlo::wallpaper
