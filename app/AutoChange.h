#pragma once
#include "ScheduleRunner.h"
#include "WallpaperRotation.h"
#include "WallpaperSchedule.h"

#include <QObject>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace tavlo::app {

// The automatic change of the wallpaper as the running program sees it: the
// schedule of the program folder, the files that run it while the program
// is closed, and, where no user service manager runs them, the program's
// own timer while it runs.
class AutoChange : public QObject {
    Q_OBJECT
public:
    // One step of the walk; `scheduled` when the timer asked for it, not the user.
    using Change = std::function<void(WallpaperRotation::Direction, bool scheduled)>;

    AutoChange(std::filesystem::path programFolder, Change change, QObject* parent = nullptr,
               wallpaper::UserServiceManager manager = wallpaper::UserServiceManager::session());

    const wallpaper::WallpaperSchedule& schedule() const { return schedule_; }
    // Stores and installs a new schedule (running, not paused). Throws
    // FileError or WallpaperError; the schedule stays as it was then.
    void setSchedule(wallpaper::WallpaperSchedule schedule);
    // Pauses or resumes the changes of the schedule; throws FileError.
    void setPaused(bool paused);

    void next() { change_(WallpaperRotation::Direction::Next, false); }
    void previous() { change_(WallpaperRotation::Direction::Previous, false); }

    // The program's own timer; active only while it is what runs the schedule.
    const QTimer& timer() const { return timer_; }

signals:
    void scheduleChanged();

private:
    void arm();
    void due();

    std::filesystem::path folder_;
    Change change_;
    wallpaper::UserServiceManager manager_;
    wallpaper::WallpaperSchedule schedule_;
    QTimer timer_;
};

}  // namespace tavlo::app
