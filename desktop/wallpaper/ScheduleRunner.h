#pragma once
#include "WallpaperSchedule.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tavlo::wallpaper {

// The files that change the wallpaper on a schedule while the program is
// closed, with nothing of ours resident: a systemd user timer and its
// service, which run `tavlo-wallpaper next --scheduled`, and an XDG
// autostart entry that runs the same at login.
struct ScheduleFiles {
    std::filesystem::path timerUnit;    // …/systemd/user/tavlo-wallpaper-next.timer
    std::filesystem::path serviceUnit;  // …/systemd/user/tavlo-wallpaper-next.service
    std::filesystem::path loginEntry;   // …/autostart/tavlo-wallpaper-next.desktop
    std::filesystem::path tool;         // the program folder's tavlo-wallpaper
    std::filesystem::path programFolder;

    // In the user's configuration folder, for the program folder's tool.
    static ScheduleFiles forProgramFolder(const std::filesystem::path& programFolder);

    std::string timerName() const { return timerUnit.filename().string(); }
};

// The units' texts. The service runs the tool once; the timer starts it every
// so many minutes or daily at a time (missed runs made up after a sleep).
std::string serviceUnitText(const ScheduleFiles& files);
std::string timerUnitText(const WallpaperSchedule& schedule);
// An argument of an ExecStart line: quoted, with what systemd would expand
// ("%" specifiers, "$" variables, backslashes) escaped.
std::string systemdArgument(const std::string& text);

// The user's service manager, as far as the schedule needs it.
struct UserServiceManager {
    // Whether a systemd user manager runs for this session.
    std::function<bool()> running;
    // Runs `systemctl --user ARGUMENTS`; throws WallpaperError on failure.
    std::function<void(const std::vector<std::string>&)> systemctl;

    static UserServiceManager session();  // the real one
};

// Where the schedule runs now.
enum class ScheduleRunner {
    None,        // off: nothing is installed
    Systemd,     // the user timer (and, for "login", the autostart entry)
    LoginEntry,  // no user manager: the autostart entry at login, the running program's own timer between
};

// Installs what `schedule` needs and removes the rest: turning the schedule
// off removes every file. Throws FileError or WallpaperError.
ScheduleRunner installSchedule(const ScheduleFiles& files, const WallpaperSchedule& schedule,
                               const UserServiceManager& manager);

}  // namespace tavlo::wallpaper
