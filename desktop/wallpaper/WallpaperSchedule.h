#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavlo::wallpaper {

// When the wallpaper changes by itself: never (the default), every so many
// minutes, daily at a time, or at each login. Kept in the program folder's
// "Data/Schedule.ini", one value a line: the schedule's words ("off",
// "every 15", "daily 08:30", "login"), then "paused" or "running".
struct WallpaperSchedule {
    enum class Kind { Off, Every, Daily, Login };
    Kind kind = Kind::Off;
    int minutes = 0;           // Every: 1 to 10080 (a week)
    int hour = 0, minute = 0;  // Daily
    bool paused = false;       // changes skipped until resumed
    friend bool operator==(const WallpaperSchedule&, const WallpaperSchedule&) = default;

    // From a command line's words ("off", "every 30", "daily 7:05",
    // "login"); nullopt when they name no schedule.
    static std::optional<WallpaperSchedule> parse(const std::vector<std::string>& words);
    // The words parse() reads back.
    std::string words() const;
    // For the user, in Chinese ("每 30 分钟", "每天 08:30", "每次登录时", "关闭").
    std::string description() const;

    static std::filesystem::path file(const std::filesystem::path& programFolder);
    static WallpaperSchedule read(const std::filesystem::path& programFolder);  // a missing or bad file: Off
    void write(const std::filesystem::path& programFolder) const;               // throws FileError
};

}  // namespace tavlo::wallpaper
