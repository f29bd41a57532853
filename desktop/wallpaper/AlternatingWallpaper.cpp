#include "AlternatingWallpaper.h"

#include <functional>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

// The picture's bytes under `second`, complete or not at all: a hard link
// where the file system has them, else a copy; renamed into place.
bool placeCopy(const fs::path& picture, const fs::path& second) {
    fs::path partial = second;
    partial += ".part";
    std::error_code error;
    fs::remove(partial, error);
    fs::create_hard_link(picture, partial, error);
    if (error) {
        error.clear();
        fs::copy_file(picture, partial, fs::copy_options::overwrite_existing, error);
    }
    if (!error) fs::rename(partial, second, error);
    if (error) fs::remove(partial, error);
    return fs::exists(second, error);
}

}  // namespace

fs::path AlternatingWallpaper::secondName(const fs::path& picture) {
    return picture.parent_path() / (picture.stem().string() + "-2" + picture.extension().string());
}

struct AlternatingWallpaper::Handover {
    std::vector<fs::path> names;       // what the desktop is handed, picture by picture
    std::vector<fs::path> letGo;       // second names the desktop lets go of once it succeeds
    std::vector<fs::path> newSeconds;  // second names made now, gone again if it fails

    // Runs the desktop's call on the names, then tidies up after it.
    void run(const std::function<void(const std::vector<fs::path>&)>& call) const {
        std::error_code error;
        try {
            call(names);
        } catch (...) {
            for (const fs::path& second : newSeconds) fs::remove(second, error);  // the desktop still has what it had
            throw;
        }
        for (const fs::path& second : letGo) fs::remove(second, error);
    }
};

AlternatingWallpaper::Handover AlternatingWallpaper::handOver(const std::vector<fs::path>& pictures) const {
    Handover handover;
    for (const fs::path& path : pictures) {
        std::error_code error;
        if (ownFolder_.empty() || !fs::equivalent(path.parent_path(), ownFolder_, error)) {
            handover.names.push_back(path);
            continue;
        }
        const fs::path second = secondName(path);
        if (fs::exists(second, error)) {
            handover.names.push_back(path);
            handover.letGo.push_back(second);
        } else if (placeCopy(path, second)) {
            handover.names.push_back(second);
            handover.newSeconds.push_back(second);
        } else {
            // A folder where nothing can be written: the same path it is,
            // which the desktop may not load anew.
            handover.names.push_back(path);
        }
    }
    return handover;
}

void AlternatingWallpaper::SetWallpaper(const fs::path& path) {
    handOver({path}).run([&](const std::vector<fs::path>& names) { desktop_->SetWallpaper(names.front()); });
}

void AlternatingWallpaper::SetSpannedWallpaper(const fs::path& path) {
    handOver({path}).run([&](const std::vector<fs::path>& names) { desktop_->SetSpannedWallpaper(names.front()); });
}

void AlternatingWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    std::vector<fs::path> paths;
    for (const MonitorPicture& picture : pictures) paths.push_back(picture.picture);
    handOver(paths).run([&](const std::vector<fs::path>& names) {
        std::vector<MonitorPicture> renamed = pictures;
        for (std::size_t i = 0; i < renamed.size(); ++i) renamed[i].picture = names[i];
        desktop_->SetMonitorWallpapers(renamed);
    });
}

}  // namespace tavlo::wallpaper
