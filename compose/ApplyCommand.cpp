#include "ApplyCommand.h"

#include "Composition.h"

#include <algorithm>

namespace tavlo {

ApplyResult ApplyCommand::run(const imaging::Bitmap* currentPicture) {
    // Nothing to paste or nothing to paste on: say so before asking anything.
    if (!currentPicture || currentPicture->empty()) return ApplyResult::NoPicture;
    const std::int32_t count = state_.PicBGCount();
    if (count == 0) return ApplyResult::EmptyList;

    if (state_.ConfirmApply) {
        confirm_();
        if (state_.ApplyConfirmed == 0) return ApplyResult::Declined;
    }

    Composition composition(state_.folder.backgroundFolder());
    composition.SaveContentPicture(*currentPicture);

    const std::int32_t i = std::clamp(walk_.CurrentBGIndex, 0, count - 1);
    const std::filesystem::path background =
        state_.folder.backgroundFile(state_.PicBGList[static_cast<std::size_t>(i)].FileName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(background, error)) {
        // Skip the missing entry: the next apply takes the one after it.
        if (i != 0) walk_.CurrentBGIndex = i + 1 < count ? i + 1 : 1;
        return ApplyResult::BackgroundMissing;
    }
    if (!composition.LoadBackground(background)) return ApplyResult::BackgroundUnreadable;
    composition.ComposeWallpaper();
    desktop_.SetWallpaper(composition.mixPath());

    walk_.CurrentBGIndex = i - 1 <= 0 ? count - 1 : i - 1;
    return ApplyResult::Applied;
}

}  // namespace tavlo
