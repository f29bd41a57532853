#include "RotationCommands.h"

#include "BGList.h"
#include "ComposeTexts.h"
#include "MonitorDiscovery.h"
#include "Picture.h"
#include "ToolDescription.h"
#include "WallpaperOptions.h"
#include "uGlobal.h"

namespace tavlo {
namespace {

// The current picture of the program folder; none when there is none or it
// cannot be read (the background changes all the same).
std::optional<imaging::Bitmap> currentPicture(GlobalState& state, const Tell& tell) {
    LoadTmpPic(state);
    if (state.CurrentPicturePath.empty()) return std::nullopt;
    try {
        return imaging::loadPicture(state.CurrentPicturePath);
    } catch (const std::exception& error) {
        tell(std::string("the current picture cannot be read: ") + error.what());
        return std::nullopt;
    }
}

// The stored options, with the mode of the command line if it names one.
WallpaperOptions optionsWith(std::optional<FitMode> mode, const ProgramFolder& folder) {
    WallpaperOptions options = WallpaperOptions::read(folder);
    if (mode) options.mode = *mode;
    return options;
}

}  // namespace

std::string step(wallpaper::WallpaperBackend& desktop, const std::filesystem::path& folder,
                 WallpaperRotation::Direction direction, std::optional<FitMode> mode, const Tell& tell) {
    GlobalState state{ProgramFolder(folder)};
    BackgroundWalk walk;
    LoadBGList(state, walk, false);
    const std::optional<imaging::Bitmap> picture = currentPicture(state, tell);
    WallpaperRotation rotation(state, desktop, [] { return wallpaper::sessionMonitors(); });
    rotation.setOptions(optionsWith(mode, state.folder));
    switch (rotation.step(direction, picture ? &*picture : nullptr)) {
    case WallpaperRotation::Outcome::Set: break;
    case WallpaperRotation::Outcome::NoBackground:
        throw tool::Failure(compose::texts::applyMessage(ApplyResult::NoBackground));
    case WallpaperRotation::Outcome::BackgroundUnreadable:
        throw tool::Failure(compose::texts::applyMessage(ApplyResult::BackgroundUnreadable));
    case WallpaperRotation::Outcome::NotSet:
        tell(rotation.failureDetail());
        throw tool::Failure(rotation.failureMessage());
    }
    return state.PicBGList[static_cast<std::size_t>(rotation.shownEntry())].FileName;
}

void setFitted(wallpaper::WallpaperBackend& desktop, const std::filesystem::path& folder,
               const std::filesystem::path& picture, FitMode mode, const Tell& tell) {
    const ProgramFolder programFolder(folder);
    WallpaperChange change(programFolder, desktop, wallpaper::sessionMonitors(), optionsWith(mode, programFolder),
                           "Set");
    switch (change.run(nullptr, picture)) {
    case WallpaperChange::Outcome::Set: return;
    case WallpaperChange::Outcome::BackgroundUnreadable: throw tool::Failure("图片文件无法读取：" + picture.string());
    case WallpaperChange::Outcome::NotSet: tell(change.failureDetail()); throw tool::Failure(change.failureMessage());
    }
}

}  // namespace tavlo
