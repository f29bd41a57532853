#include "ScheduleRunner.h"
#include "DesktopCommand.h"
#include "LoginRestore.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBaseName = "tavlo-wallpaper-next";

std::vector<std::string> toolArguments(const ScheduleFiles& files) {
    return {"next", "--scheduled", "--folder", files.programFolder.string()};
}

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02d", value);
    return text;
}

void removeFile(const fs::path& file) {
    std::error_code error;
    fs::remove(file, error);
}

}  // namespace

ScheduleFiles ScheduleFiles::forProgramFolder(const fs::path& programFolder) {
    const fs::path config = userConfigFolder();
    return {config / "systemd" / "user" / (std::string(kBaseName) + ".timer"),
            config / "systemd" / "user" / (std::string(kBaseName) + ".service"),
            config / "autostart" / (std::string(kBaseName) + ".desktop"), programFolder / "tavlo-wallpaper",
            programFolder};
}

std::string systemdArgument(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        else if (c == '%')
            quoted += '%';
        else if (c == '$')
            quoted += '$';
        quoted += c;
    }
    return quoted + '"';
}

std::string serviceUnitText(const ScheduleFiles& files) {
    std::string command = systemdArgument(files.tool.string());
    for (const std::string& argument : toolArguments(files)) command += " " + systemdArgument(argument);
    return "[Unit]\n"
           "Description=Tavlo助手：更换桌面壁纸\n"
           "After=graphical-session.target\n"
           "\n"
           "[Service]\n"
           "Type=oneshot\n"
           "ExecStart=" +
           command + "\n";
}

std::string timerUnitText(const WallpaperSchedule& schedule) {
    std::string when;
    if (schedule.kind == WallpaperSchedule::Kind::Daily)
        when = "OnCalendar=*-*-* " + twoDigits(schedule.hour) + ":" + twoDigits(schedule.minute) +
               ":00\nPersistent=true\n";
    else
        when = "OnActiveSec=" + std::to_string(schedule.minutes) +
               "min\nOnUnitActiveSec=" + std::to_string(schedule.minutes) + "min\n";
    return "[Unit]\n"
           "Description=Tavlo助手：自动更换桌面壁纸（" +
           schedule.description() +
           "）\n"
           "\n"
           "[Timer]\n" +
           when +
           "AccuracySec=1min\n"
           "\n"
           "[Install]\n"
           "WantedBy=timers.target\n";
}

UserServiceManager UserServiceManager::session() {
    return {[] {
                // A user manager listens on its private socket in the runtime folder.
                const char* runtime = std::getenv("XDG_RUNTIME_DIR");
                std::error_code error;
                return runtime && *runtime && fs::exists(fs::path(runtime) / "systemd" / "private", error) &&
                       programInPath("systemctl");
            },
            [](const std::vector<std::string>& arguments) {
                QStringList list{QStringLiteral("--user")};
                for (const std::string& argument : arguments) list << QString::fromStdString(argument);
                runDesktopCommand("systemctl", list);
            }};
}

ScheduleRunner installSchedule(const ScheduleFiles& files, const WallpaperSchedule& schedule,
                               const UserServiceManager& manager) {
    using Kind = WallpaperSchedule::Kind;
    const bool systemd = manager.running && manager.running();
    const bool timer = schedule.kind == Kind::Every || schedule.kind == Kind::Daily;

    // A login entry changes the wallpaper at login for "login", and stands
    // in for the timer where no user manager runs.
    const bool loginEntry = schedule.kind == Kind::Login || (timer && !systemd);
    if (loginEntry)
        writeConfigFile(files.loginEntry, autostartEntry(files.tool, toolArguments(files), "Tavlo助手自动更换壁纸",
                                                         "按设定的时间自动更换 Tavlo助手 的桌面壁纸"));
    else
        removeFile(files.loginEntry);

    if (timer && systemd) {
        writeConfigFile(files.serviceUnit, serviceUnitText(files));
        writeConfigFile(files.timerUnit, timerUnitText(schedule));
        manager.systemctl({"daemon-reload"});
        // restart: a changed timer starts counting anew.
        manager.systemctl({"enable", files.timerName()});
        manager.systemctl({"restart", files.timerName()});
        return ScheduleRunner::Systemd;
    }
    const bool hadTimer = fs::exists(files.timerUnit);
    if (hadTimer && systemd) {
        try {
            manager.systemctl({"disable", "--now", files.timerName()});
        } catch (const std::exception&) {
            // Its files go below: the timer does not come back.
        }
    }
    removeFile(files.timerUnit);
    removeFile(files.serviceUnit);
    if (hadTimer && systemd) manager.systemctl({"daemon-reload"});
    if (schedule.kind == Kind::Off) return ScheduleRunner::None;
    return systemd ? ScheduleRunner::Systemd : ScheduleRunner::LoginEntry;
}

}  // namespace tavlo::wallpaper
