// The main window's wallpaper parts beyond the apply command: the options
// menu's fit and automatic-change items, the tray icon, and one step of the
// walk through the library on request or by the clock.
#include "AutoChange.h"
#include "ComposeTexts.h"
#include "ProgramMonitors.h"
#include "WallpaperMenu.h"
#include "WallpaperTray.h"
#include "Widgets.h"
#include "uMain.h"

#include <QLoggingCategory>
#include <QMenu>

namespace tavlo::app {

namespace {

Q_LOGGING_CATEGORY(wallpaperLog, "tavlo.wallpaper")

}  // namespace

void TMainFrm::CreateWallpaperParts() {
    autoChange_ = std::make_unique<AutoChange>(
        state_.folder.root(),
        [this](WallpaperRotation::Direction direction, bool scheduled) { changeWallpaper(direction, scheduled); });
    new WallpaperMenu(popSysset, N4, state_.folder, *autoChange_, this);
    tray_ = std::make_unique<WallpaperTray>(
        *autoChange_,
        [this] {
            showNormal();
            raise();
            activateWindow();
        },
        [this] { N_ExitPrjClick(); });
}

void TMainFrm::setMonitorSource(MonitorSource monitors) {
    monitors_ = std::move(monitors);
}

MonitorSource TMainFrm::monitorSource() const {
    return monitors_ ? monitors_ : MonitorSource(programMonitors);
}

// One step of the walk with the picture shown. What the user asked for says
// how it went; a change by the clock goes to the log instead of a box.
void TMainFrm::changeWallpaper(WallpaperRotation::Direction direction, bool scheduled) {
    runCommand(this, [&] {
        WallpaperRotation rotation(state_, wallpaperBackend(), monitorSource());
        std::optional<imaging::Bitmap> storage;
        const imaging::Bitmap* picture =
            currentPicture_ && !currentPicture_->shown().empty() ? &currentPicture_->whole(storage) : nullptr;
        QString message;
        switch (rotation.step(direction, picture)) {
        case WallpaperRotation::Outcome::Set:
            // The apply command goes on from the background shown now.
            walk.CurrentBGIndex = WallpaperRotation::following(rotation.shownEntry(), state_.PicBGCount(),
                                                               WallpaperRotation::Direction::Next);
            return;
        case WallpaperRotation::Outcome::NoBackground:
            message = QString::fromStdString(compose::texts::applyMessage(ApplyResult::NoBackground));
            break;
        case WallpaperRotation::Outcome::BackgroundUnreadable:
            message = QString::fromStdString(compose::texts::applyMessage(ApplyResult::BackgroundUnreadable));
            break;
        case WallpaperRotation::Outcome::NotSet:
            qCWarning(wallpaperLog, "%s", rotation.failureDetail().c_str());
            message = QString::fromStdString(rotation.failureMessage());
            break;
        }
        if (scheduled)
            qCWarning(wallpaperLog, "%s", qUtf8Printable(message));
        else
            showMessage(this, message);
    });
}

}  // namespace tavlo::app
