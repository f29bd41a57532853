#pragma once
#include "Bitmap.h"
#include "WallpaperChange.h"
#include "uGlobal.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavlo {

// Where the walk through the background list stood when the wallpaper last
// changed: "Data\Walk.ini", the entry shown, one line. Kept so that a change
// made from outside the program (a timer, a keyboard shortcut) goes on from
// the last one, whoever made it.
std::optional<std::int32_t> readShownEntry(const ProgramFolder& folder);
void writeShownEntry(const ProgramFolder& folder, std::int32_t entry);  // failures are only logged

// The wallpaper changed to the next background of the walk (the apply
// command's direction: back through the list) or the previous one, with the
// current picture, without asking. Entries whose file is gone are passed
// over; both directions wrap.
class WallpaperRotation {
public:
    enum class Direction { Next, Previous };
    enum class Outcome {
        Set,
        NoBackground,          // no entry names an existing file
        BackgroundUnreadable,  // the background is no picture
        NotSet,                // the desktop did not take it (failureMessage)
    };

    WallpaperRotation(const GlobalState& state, wallpaper::WallpaperBackend& desktop, MonitorSource monitors)
        : state_(state), desktop_(desktop), monitors_(std::move(monitors)) {}

    // How the wallpaper is laid on the monitors: the program folder's
    // options unless set.
    void setOptions(WallpaperOptions options) { options_ = options; }

    // `picture` null: the background alone. The entry used is remembered.
    Outcome step(Direction direction, const imaging::Bitmap* picture);

    // The entry the last step used.
    std::int32_t shownEntry() const { return shown_; }
    const std::string& failureMessage() const { return failureMessage_; }
    const std::string& failureDetail() const { return failureDetail_; }

    // The entry after `entry` in `direction` among `count` entries: entry 0,
    // the chosen one, stands in the walk only when it is the only one.
    static std::int32_t following(std::int32_t entry, std::int32_t count, Direction direction);

private:
    const GlobalState& state_;
    wallpaper::WallpaperBackend& desktop_;
    MonitorSource monitors_;
    std::optional<WallpaperOptions> options_;
    std::int32_t shown_ = 0;
    std::string failureMessage_, failureDetail_;
};

}  // namespace tavlo
