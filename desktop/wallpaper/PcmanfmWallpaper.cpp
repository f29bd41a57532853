#include "PcmanfmWallpaper.h"
#include "DesktopCommand.h"
#include "Picture.h"
#include "PicturePath.h"
#include "WallpaperTexts.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

constexpr auto kPollInterval = std::chrono::milliseconds(50);

std::string readSmallFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool hasLine(const std::string& text, const std::string& line) {
    std::istringstream lines(text);
    for (std::string each; std::getline(lines, each);) {
        if (!each.empty() && each.back() == '\r') each.pop_back();
        if (each == line) return true;
    }
    return false;
}

// Files of every profile folder under `root` whose name `matches`.
template <class Matches>
void collect(const fs::path& root, Matches matches, std::map<fs::path, fs::file_time_type>& found) {
    std::error_code error;
    for (const fs::directory_entry& profile : fs::directory_iterator(root, error)) {
        if (!profile.is_directory(error)) continue;
        for (const fs::directory_entry& file : fs::directory_iterator(profile.path(), error))
            if (matches(file.path().filename().string()))
                if (const auto time = fs::last_write_time(file.path(), error); !error) found[file.path()] = time;
    }
}

}  // namespace

std::string PcmanfmWallpaper::program(BackendKind kind) {
    return kind == BackendKind::Lxqt ? "pcmanfm-qt" : "pcmanfm";
}

PcmanfmWallpaper::Snapshot PcmanfmWallpaper::evidence() const {
    Snapshot files;
    if (kind_ == BackendKind::Lxqt)
        collect(
            fs::path(userCacheFolder()) / "pcmanfm-qt",
            [](const std::string& name) { return name == "wallpaper.cache.info"; }, files);
    else
        collect(
            fs::path(userConfigFolder()) / "pcmanfm",
            [](const std::string& name) {
                return name.rfind("desktop-items-", 0) == 0 && name.size() > 5 &&
                       name.compare(name.size() - 5, 5, ".conf") == 0;
            },
            files);
    return files;
}

bool PcmanfmWallpaper::accepted(const fs::path& file, const std::string& picture, const std::string& mode) const {
    const std::string content = readSmallFile(file);
    if (kind_ == BackendKind::Lxqt) return content == picture || content == picture + "\n";
    return hasLine(content, "wallpaper=" + picture) && hasLine(content, "wallpaper_mode=" + mode);
}

void PcmanfmWallpaper::SetWallpaper(const fs::path& path) {
    set(path, "stretch");
}

// LXDE's desktop can stretch one picture across all monitors; LXQt's
// stretches it on each.
void PcmanfmWallpaper::SetSpannedWallpaper(const fs::path& path) {
    set(path, kind_ == BackendKind::Lxde ? "screen" : "stretch");
}

void PcmanfmWallpaper::set(const fs::path& path, const std::string& mode) {
    const std::string picture = fs::absolute(path).string();
    const std::string command = program(kind_);
    // LXQt's desktop drops the picture it shows for one it cannot load and
    // goes black: it is only handed pictures that can be read.
    try {
        imaging::loadPicture(path);
    } catch (const std::exception& error) {
        throw WallpaperError(texts::pictureUnreadable(), command + ": cannot read the picture: " + error.what());
    }
    const Snapshot before = evidence();
    runDesktopCommand(command, {QStringLiteral("--set-wallpaper"), pathText(path), QStringLiteral("--wallpaper-mode"),
                                QString::fromStdString(mode)});
    const auto deadline = std::chrono::steady_clock::now() + acceptanceWait_;
    do {
        for (const auto& [file, time] : evidence()) {
            const auto old = before.find(file);
            if ((old == before.end() || old->second != time) && accepted(file, picture, mode)) return;
        }
        std::this_thread::sleep_for(kPollInterval);
    } while (std::chrono::steady_clock::now() < deadline);
    throw WallpaperError(texts::pictureNotLoaded(kind_, command),
                         command + " did not show that its desktop loaded " + picture);
}

}  // namespace tavlo::wallpaper
