#include "WallpaperSchedule.h"
#include "SettingsFile.h"

#include <cstdio>

namespace tavlo::wallpaper {
namespace {

std::optional<int> number(const std::string& text, int lowest, int highest) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02d", value);
    return text;
}

}  // namespace

std::optional<WallpaperSchedule> WallpaperSchedule::parse(const std::vector<std::string>& words) {
    WallpaperSchedule schedule;
    if (words.size() == 1 && words[0] == "off") return schedule;
    if (words.size() == 1 && words[0] == "login") {
        schedule.kind = Kind::Login;
        return schedule;
    }
    if (words.size() == 2 && words[0] == "every") {
        const auto minutes = number(words[1], 1, 7 * 24 * 60);
        if (!minutes) return std::nullopt;
        schedule.kind = Kind::Every;
        schedule.minutes = *minutes;
        return schedule;
    }
    if (words.size() == 2 && words[0] == "daily") {
        const std::size_t colon = words[1].find(':');
        if (colon == std::string::npos) return std::nullopt;
        const auto hour = number(words[1].substr(0, colon), 0, 23);
        const auto minute = number(words[1].substr(colon + 1), 0, 59);
        if (!hour || !minute || words[1].size() - colon - 1 != 2) return std::nullopt;
        schedule.kind = Kind::Daily;
        schedule.hour = *hour;
        schedule.minute = *minute;
        return schedule;
    }
    return std::nullopt;
}

std::string WallpaperSchedule::words() const {
    switch (kind) {
    case Kind::Off: return "off";
    case Kind::Every: return "every " + std::to_string(minutes);
    case Kind::Daily: return "daily " + twoDigits(hour) + ":" + twoDigits(minute);
    case Kind::Login: return "login";
    }
    return "off";
}

std::string WallpaperSchedule::description() const {
    std::string text;
    switch (kind) {
    case Kind::Off: return "关闭";
    case Kind::Every:
        text = minutes % 60 == 0 ? "每 " + std::to_string(minutes / 60) + " 小时"
                                 : "每 " + std::to_string(minutes) + " 分钟";
        break;
    case Kind::Daily: text = "每天 " + twoDigits(hour) + ":" + twoDigits(minute); break;
    case Kind::Login: text = "每次登录时"; break;
    }
    return paused ? text + "（已暂停）" : text;
}

std::filesystem::path WallpaperSchedule::file(const std::filesystem::path& programFolder) {
    return programFolder / "Data" / "Schedule.ini";
}

WallpaperSchedule WallpaperSchedule::read(const std::filesystem::path& programFolder) {
    try {
        const auto lines = readSettingsLines(file(programFolder));
        if (!lines || lines->empty()) return {};
        std::vector<std::string> words;
        const std::string& first = lines->front();
        for (std::size_t start = 0; start < first.size();) {
            const std::size_t blank = first.find(' ', start);
            const std::size_t end = blank == std::string::npos ? first.size() : blank;
            if (end > start) words.push_back(first.substr(start, end - start));
            start = end + 1;
        }
        std::optional<WallpaperSchedule> schedule = parse(words);
        if (!schedule) return {};
        schedule->paused = lines->size() > 1 && (*lines)[1] == "paused";
        return *schedule;
    } catch (const std::exception&) {
        return {};  // unreadable: no schedule, as when there is no file
    }
}

void WallpaperSchedule::write(const std::filesystem::path& programFolder) const {
    std::filesystem::create_directories(file(programFolder).parent_path());
    writeSettingsLines(file(programFolder), {words(), paused ? "paused" : "running"});
}

}  // namespace tavlo::wallpaper
