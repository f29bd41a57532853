#include "ApplyCommand.h"

#include "WallpaperRotation.h"

#include <algorithm>
#include <vector>

namespace tavlo {

namespace {

// The entry the walk takes after `i`: one back, wrapping from entry 1 (or 0)
// to the last entry.
std::int32_t nextInWalk(std::int32_t i, std::int32_t count) {
    return i - 1 <= 0 ? count - 1 : i - 1;
}

}  // namespace

std::optional<ApplyCommand::Found> ApplyCommand::findBackground() const {
    const std::int32_t count = state_.PicBGCount();
    // From the walk's entry on, in the walk's own order; the chosen entry 0,
    // which the walk only reaches while it stands there, comes last.
    std::vector<std::int32_t> order;
    std::vector<bool> seen(static_cast<std::size_t>(count), false);
    for (std::int32_t i = std::clamp(walk_.CurrentBGIndex, 0, count - 1); !seen[static_cast<std::size_t>(i)];
         i = nextInWalk(i, count)) {
        seen[static_cast<std::size_t>(i)] = true;
        order.push_back(i);
    }
    if (!seen[0]) order.push_back(0);
    for (const std::int32_t i : order) {
        const auto path = backgroundPath(state_.folder, state_.PicBGList[static_cast<std::size_t>(i)].FileName);
        std::error_code error;
        if (path && std::filesystem::is_regular_file(*path, error)) return Found{i, *path};
    }
    return std::nullopt;
}

ApplyResult ApplyCommand::runWithCurrentPicture(const HeldPicture* currentPicture) {
    // Nothing to paste or nothing to paste on: say so before asking anything.
    if (!currentPicture || currentPicture->shown().empty()) return ApplyResult::NoPicture;
    const std::int32_t count = state_.PicBGCount();
    if (count == 0) return ApplyResult::NoBackground;
    const auto found = findBackground();
    if (!found) return ApplyResult::NoBackground;

    if (state_.ConfirmApply) {
        confirm_();
        if (state_.ApplyConfirmed == 0) return ApplyResult::Declined;
    }

    std::optional<imaging::Bitmap> storage;
    const imaging::Bitmap& picture = currentPicture->whole(storage);
    WallpaperChange change(state_.folder, desktop_, monitors_ ? monitors_() : wallpaper::MonitorLayout{},
                           WallpaperOptions::read(state_.folder));
    switch (change.run(&picture, found->path)) {
    case WallpaperChange::Outcome::BackgroundUnreadable: return ApplyResult::BackgroundUnreadable;
    case WallpaperChange::Outcome::NotSet:
        failureMessage_ = change.failureMessage();
        failureDetail_ = change.failureDetail();
        return ApplyResult::WallpaperNotSet;
    case WallpaperChange::Outcome::Set: break;
    }
    // A change from outside the program goes on from here.
    writeShownEntry(state_.folder, found->index);

    walk_.CurrentBGIndex = nextInWalk(found->index, count);
    return ApplyResult::Applied;
}

}  // namespace tavlo
