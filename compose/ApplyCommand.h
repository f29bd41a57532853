#pragma once
#include "BGList.h"
#include "Bitmap.h"
#include "HeldPicture.h"
#include "WallpaperBackend.h"
#include "WallpaperChange.h"
#include "uGlobal.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace tavlo {

// What one apply did, for the window to tell the user.
enum class ApplyResult {
    Applied,               // "Mix.bmp" written and set as the wallpaper
    Declined,              // the confirmation was answered no
    NoPicture,             // there is no current picture to paste
    NoBackground,          // no entry of the list names an existing file
    BackgroundUnreadable,  // the background is no picture: "加载失败！"
    WallpaperNotSet,       // "Mix.bmp" written, but the desktop did not take it
};

// The apply command: confirmation, then the current picture pasted on the
// background the walk points at, "Mix.bmp" set as the wallpaper, and the walk
// stepped back by one. An entry whose file is gone is passed over: the walk
// goes on to the next entry that exists, within the same apply. File failures
// throw, to be shown by the general error report; a desktop that does not take
// the picture is a result with the message for the user. Either way the walk
// stays where it was.
class ApplyCommand {
public:
    // Shows the confirmation dialog modally; it leaves its answer in ApplyConfirmed.
    using Confirm = std::function<void()>;

    // `monitors` says what the wallpaper is made for; without it, one
    // composite at the background's size, for the desktop to stretch.
    ApplyCommand(GlobalState& state, BackgroundWalk& walk, wallpaper::WallpaperBackend& desktop, Confirm confirm,
                 MonitorSource monitors = {})
        : state_(state), walk_(walk), desktop_(desktop), confirm_(std::move(confirm)), monitors_(std::move(monitors)) {}

    // `currentPicture` is the picture shown in the main window, null if none;
    // held perhaps only in part, it is read whole when the apply goes ahead,
    // after the question.
    ApplyResult runWithCurrentPicture(const HeldPicture* currentPicture);

    // After WallpaperNotSet: what the user is told, in Chinese (the cause,
    // and where "Mix.bmp" is, to choose it in the desktop's own settings);
    // and the mechanism's own account, for the log.
    const std::string& failureMessage() const { return failureMessage_; }
    const std::string& failureDetail() const { return failureDetail_; }

private:
    struct Found {
        std::int32_t index;
        std::filesystem::path path;
    };
    // The first entry of the walk, from where it stands, whose file exists.
    std::optional<Found> findBackground() const;

    GlobalState& state_;
    BackgroundWalk& walk_;
    wallpaper::WallpaperBackend& desktop_;
    Confirm confirm_;
    MonitorSource monitors_;
    std::string failureMessage_, failureDetail_;
};

}  // namespace tavlo
