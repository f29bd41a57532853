#include "AutoChange.h"

#include <QDateTime>

namespace tavlo::app {

using wallpaper::WallpaperSchedule;

AutoChange::AutoChange(std::filesystem::path programFolder, Change change, QObject* parent,
                       wallpaper::UserServiceManager manager)
    : QObject(parent), folder_(std::move(programFolder)), change_(std::move(change)), manager_(std::move(manager)),
      schedule_(WallpaperSchedule::read(folder_)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &AutoChange::due);
    arm();
}

void AutoChange::setSchedule(WallpaperSchedule schedule) {
    schedule.paused = false;
    wallpaper::installSchedule(wallpaper::ScheduleFiles::forProgramFolder(folder_), schedule, manager_);
    schedule.write(folder_);
    schedule_ = schedule;
    arm();
    emit scheduleChanged();
}

void AutoChange::setPaused(bool paused) {
    WallpaperSchedule schedule = schedule_;
    schedule.paused = paused;
    schedule.write(folder_);
    schedule_ = schedule;
    arm();
    emit scheduleChanged();
}

// The program counts the time itself only where no user manager runs the
// timer: two clocks would change the wallpaper twice.
void AutoChange::arm() {
    timer_.stop();
    const bool timed =
        schedule_.kind == WallpaperSchedule::Kind::Every || schedule_.kind == WallpaperSchedule::Kind::Daily;
    if (!timed || schedule_.paused || (manager_.running && manager_.running())) return;
    if (schedule_.kind == WallpaperSchedule::Kind::Every) {
        timer_.start(std::chrono::minutes(schedule_.minutes));
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    QDateTime at(now.date(), QTime(schedule_.hour, schedule_.minute));
    if (at <= now) at = at.addDays(1);
    timer_.start(std::chrono::milliseconds(now.msecsTo(at)));
}

void AutoChange::due() {
    change_(WallpaperRotation::Direction::Next, true);
    arm();
}

}  // namespace tavlo::app
