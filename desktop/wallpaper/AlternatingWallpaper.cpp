#include "AlternatingWallpaper.h"

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

void AlternatingWallpaper::SetWallpaper(const fs::path& path) {
    std::error_code error;
    if (ownFolder_.empty() || !fs::equivalent(path.parent_path(), ownFolder_, error))
        return desktop_->SetWallpaper(path);
    const fs::path second = secondName(path);
    if (fs::exists(second, error)) {
        desktop_->SetWallpaper(path);
        fs::remove(second, error);  // the desktop has let go of it
        return;
    }
    // A folder where nothing can be written: the same path it is, which
    // the desktop may not load anew.
    if (!placeCopy(path, second)) return desktop_->SetWallpaper(path);
    try {
        desktop_->SetWallpaper(second);
    } catch (...) {
        fs::remove(second, error);  // the desktop still has what it had
        throw;
    }
}

}  // namespace tavlo::wallpaper
