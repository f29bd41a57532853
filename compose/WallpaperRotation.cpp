#include "WallpaperRotation.h"

#include "BGList.h"
#include "SettingsFile.h"

#include <cstdio>

namespace tavlo {
namespace {

constexpr std::string_view kWalkFile = "Data\\Walk.ini";

}  // namespace

std::optional<std::int32_t> readShownEntry(const ProgramFolder& folder) {
    try {
        const auto lines = readSettingsLines(folder.path(kWalkFile));
        if (lines && !lines->empty()) return parseInteger(lines->front());
    } catch (const std::exception&) {
        // Unreadable: the walk starts afresh.
    }
    return std::nullopt;
}

void writeShownEntry(const ProgramFolder& folder, std::int32_t entry) {
    try {
        writeSettingsLines(folder.pathForWrite(kWalkFile), {std::to_string(entry)});
    } catch (const std::exception& error) {
        // The wallpaper changed; only the next change may repeat a background.
        std::fprintf(stderr, "tavlo: cannot remember the walk: %s\n", error.what());
    }
}

std::int32_t WallpaperRotation::following(std::int32_t entry, std::int32_t count, Direction direction) {
    if (count <= 1) return 0;
    if (direction == Direction::Next) return entry - 1 <= 0 ? count - 1 : entry - 1;
    return entry + 1 >= count || entry + 1 <= 0 ? 1 : entry + 1;
}

WallpaperRotation::Outcome WallpaperRotation::step(Direction direction, const imaging::Bitmap* picture) {
    const std::int32_t count = state_.PicBGCount();
    if (count == 0) return Outcome::NoBackground;
    // Without a remembered entry, the walk starts where a new start of the
    // program puts it: at the last entry going back, the first going forth.
    const std::optional<std::int32_t> remembered = readShownEntry(state_.folder);
    std::int32_t entry = remembered && *remembered >= 0 && *remembered < count
                             ? following(*remembered, count, direction)
                             : (direction == Direction::Next ? count - 1 : std::min(1, count - 1));
    std::optional<std::filesystem::path> path;
    for (std::int32_t tried = 0; tried < count; ++tried, entry = following(entry, count, direction)) {
        path = backgroundPath(state_.folder, state_.PicBGList[static_cast<std::size_t>(entry)].FileName);
        std::error_code error;
        if (path && std::filesystem::is_regular_file(*path, error)) break;
        path.reset();
    }
    if (!path) return Outcome::NoBackground;

    WallpaperChange change(state_.folder, desktop_, monitors_ ? monitors_() : wallpaper::MonitorLayout{},
                           options_ ? *options_ : WallpaperOptions::read(state_.folder));
    switch (change.run(picture, *path)) {
    case WallpaperChange::Outcome::BackgroundUnreadable: return Outcome::BackgroundUnreadable;
    case WallpaperChange::Outcome::NotSet:
        failureMessage_ = change.failureMessage();
        failureDetail_ = change.failureDetail();
        return Outcome::NotSet;
    case WallpaperChange::Outcome::Set: break;
    }
    shown_ = entry;
    writeShownEntry(state_.folder, entry);
    return Outcome::Set;
}

}  // namespace tavlo
