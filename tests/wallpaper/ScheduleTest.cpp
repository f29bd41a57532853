// The automatic change's schedule: what it reads, the systemd units and
// login entry it installs, and the timer's command run as the timer runs it.
#include <gtest/gtest.h>

#include "BmpFormat.h"
#include "ChildProcess.h"
#include "LoginRestore.h"
#include "MissingTool.h"
#include "ScheduleRunner.h"
#include "SettingsFile.h"
#include "TempFolder.h"
#include "WallpaperSchedule.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

WallpaperSchedule scheduleOf(std::vector<std::string> words) {
    const auto schedule = WallpaperSchedule::parse(words);
    EXPECT_TRUE(schedule);
    return schedule.value_or(WallpaperSchedule{});
}

TEST(Schedule, ReadsTheSchedulesItNamesAndNothingElse) {
    const std::vector<std::pair<std::vector<std::string>, std::optional<std::string>>> cases = {
        {{"off"}, "关闭"},
        {{"every", "15"}, "每 15 分钟"},
        {{"every", "180"}, "每 3 小时"},
        {{"daily", "7:05"}, "每天 07:05"},
        {{"daily", "23:59"}, "每天 23:59"},
        {{"login"}, "每次登录时"},
        {{"every", "0"}, std::nullopt},
        {{"every", "10081"}, std::nullopt},
        {{"every", "-5"}, std::nullopt},
        {{"every", "15min"}, std::nullopt},
        {{"daily", "24:00"}, std::nullopt},
        {{"daily", "8:5"}, std::nullopt},
        {{"daily", "0830"}, std::nullopt},
        {{"hourly"}, std::nullopt},
        {{"every"}, std::nullopt},
    };
    for (const auto& [words, description] : cases) {
        const auto schedule = WallpaperSchedule::parse(words);
        ASSERT_EQ(schedule.has_value(), description.has_value()) << words[0];
        if (!schedule) continue;
        EXPECT_EQ(schedule->description(), *description);
        EXPECT_EQ(WallpaperSchedule::parse({schedule->words().substr(0, schedule->words().find(' ')),
                                            schedule->words().substr(schedule->words().find(' ') + 1)}),
                  schedule->kind == WallpaperSchedule::Kind::Every || schedule->kind == WallpaperSchedule::Kind::Daily
                      ? schedule
                      : std::nullopt);
    }
}

TEST(Schedule, StoredScheduleReadsBackAndABadFileMeansOff) {
    test::TempFolder folder;
    WallpaperSchedule schedule = scheduleOf({"daily", "08:30"});
    schedule.paused = true;
    schedule.write(folder.path());
    EXPECT_EQ(WallpaperSchedule::read(folder.path()), schedule);
    EXPECT_EQ(WallpaperSchedule::read(folder.path()).description(), "每天 08:30（已暂停）");
    writeSettingsLines(WallpaperSchedule::file(folder.path()), {"every fortnight"});
    EXPECT_EQ(WallpaperSchedule::read(folder.path()), WallpaperSchedule{});
}

// A user manager as the schedule meets it, recording what systemctl is told.
struct RecordingManager {
    bool running = true;
    std::vector<std::string> calls;
    UserServiceManager manager() {
        return {[this] { return running; },
                [this](const std::vector<std::string>& arguments) {
                    std::string call;
                    for (const std::string& argument : arguments) call += (call.empty() ? "" : " ") + argument;
                    calls.push_back(call);
                }};
    }
};

class Installed : public testing::Test {
protected:
    test::TempFolder temp;
    // A program folder whose name needs every kind of quoting.
    fs::path programFolder = temp / "程序 50% $HOME \"x\"";
    ScheduleFiles files{temp / "config/systemd/user/tavlo-wallpaper-next.timer",
                        temp / "config/systemd/user/tavlo-wallpaper-next.service",
                        temp / "config/autostart/tavlo-wallpaper-next.desktop", TAVLO_WALLPAPER_TOOL, programFolder};
    RecordingManager systemd;
};

TEST_F(Installed, WithAUserManagerTheTimerRunsItAndOffRemovesEverything) {
    EXPECT_EQ(installSchedule(files, scheduleOf({"every", "15"}), systemd.manager()), ScheduleRunner::Systemd);
    EXPECT_TRUE(fs::exists(files.timerUnit));
    EXPECT_TRUE(fs::exists(files.serviceUnit));
    EXPECT_FALSE(fs::exists(files.loginEntry));
    EXPECT_NE(readText(files.timerUnit).find("OnUnitActiveSec=15min\n"), std::string::npos);
    EXPECT_EQ(systemd.calls, (std::vector<std::string>{"daemon-reload", "enable tavlo-wallpaper-next.timer",
                                                       "restart tavlo-wallpaper-next.timer"}));

    systemd.calls.clear();
    EXPECT_EQ(installSchedule(files, scheduleOf({"login"}), systemd.manager()), ScheduleRunner::Systemd);
    EXPECT_FALSE(fs::exists(files.timerUnit));
    EXPECT_FALSE(fs::exists(files.serviceUnit));
    EXPECT_TRUE(fs::exists(files.loginEntry));
    EXPECT_EQ(systemd.calls, (std::vector<std::string>{"disable --now tavlo-wallpaper-next.timer", "daemon-reload"}));

    EXPECT_EQ(installSchedule(files, scheduleOf({"off"}), systemd.manager()), ScheduleRunner::None);
    EXPECT_FALSE(fs::exists(files.loginEntry));
}

TEST_F(Installed, WithoutAUserManagerTheLoginEntryStandsInAndNoUnitIsWritten) {
    systemd.running = false;
    EXPECT_EQ(installSchedule(files, scheduleOf({"daily", "08:30"}), systemd.manager()), ScheduleRunner::LoginEntry);
    EXPECT_FALSE(fs::exists(files.timerUnit));
    EXPECT_TRUE(systemd.calls.empty());
    const std::string entry = readText(files.loginEntry);
    EXPECT_NE(entry.find("/tavlo-wallpaper\" next --scheduled --folder \""), std::string::npos) << entry;
    EXPECT_NE(entry.find("50%% \\\\$HOME \\\\\"x\\\\\""), std::string::npos) << entry;
}

// A desktop (GLib's launcher here) starts the entry's program with its
// arguments, whatever characters the program folder's path holds.
TEST(LoginEntry, StartsItsToolWhateverThePathHolds) {
    TAVLO_REQUIRE_TOOL(test::programInPath("gio"), "gio");
    test::TempFolder temp;
    for (const std::string name : {"plain", "程序 50% $HOME \"x\" `y` \\z"}) {
        SCOPED_TRACE(name);
        const fs::path folder = temp / name;
        fs::create_directories(folder);
        const fs::path tool = folder / "tavlo-wallpaper", record = temp / "record";
        fs::remove(record);
        test::writeFileBytes(tool, "#!/bin/sh\nprintf '%s|' \"$0\" \"$@\" > '" + record.string() + "'\n");
        fs::permissions(tool, fs::perms::owner_all);
        const fs::path entry = temp / "entry.desktop";
        test::writeFileBytes(entry, autostartEntry(tool, {"next", "--folder", folder.string()}, "x", "y"));
        const test::CommandResult launched = test::runCommand("gio launch '" + entry.string() + "' 2>&1");
        ASSERT_EQ(launched.status, 0) << launched.output << test::readFileBytes(entry);
        ASSERT_TRUE(test::waitFor([&] { return fs::exists(record) && fs::file_size(record) > 0; }));
        EXPECT_EQ(test::readFileBytes(record), tool.string() + "|next|--folder|" + folder.string() + "|");
    }
}

// ExecStart's words as systemd reads them: blanks split, double quotes
// group, a backslash takes the next character, "%%" and "$$" are one sign.
std::vector<std::string> execStartWords(const std::string& unit) {
    const std::string key = "\nExecStart=";
    const std::size_t start = unit.find(key) + key.size();
    const std::string line = unit.substr(start, unit.find('\n', start) - start);
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else if ((c == '%' || c == '$') && i + 1 < line.size() && line[i + 1] == c) {
            word += c;
            ++i;
        } else if (c == ' ' && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

// Runs `words` as a service runs it: no shell, the session's variables.
int runAsService(const std::vector<std::string>& words, const std::vector<std::string>& environment) {
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv, envp;
        for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
        for (const std::string& variable : environment) envp.push_back(const_cast<char*>(variable.c_str()));
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Installed, UnitsPassSystemdsOwnCheckAndTheTimersCommandChangesTheWallpaper) {
    TAVLO_REQUIRE_TOOL(test::programInPath("systemd-analyze"), "systemd-analyze");
    TAVLO_REQUIRE_TOOL(test::programInPath("Xvfb"), "Xvfb");
    for (const auto& schedule : {scheduleOf({"every", "30"}), scheduleOf({"daily", "07:05"})}) {
        installSchedule(files, schedule, systemd.manager());
        const test::CommandResult check =
            test::runCommand("systemd-analyze verify --user --man=no '" + files.timerUnit.string() + "' '" +
                             files.serviceUnit.string() + "' 2>&1");
        EXPECT_EQ(check.status, 0) << check.output;
        EXPECT_EQ(check.output, "") << schedule.words();
    }

    // A program folder with two backgrounds, as the program leaves it.
    fs::create_directories(programFolder / "source" / "DeskTopBG");
    fs::create_directories(programFolder / "Data");
    for (const char* name : {"b0.bmp", "b1.bmp"}) {
        imaging::Bitmap background(64, 48, 24);
        imaging::writeBmp(background, programFolder / "source" / "DeskTopBG" / name);
    }
    writeSettingsLines(programFolder / "Data" / "BGPicList.ini", {"b0.bmp", "b1.bmp"});

    std::unique_ptr<test::ChildProcess> server;
    const std::optional<std::string> display = test::startXvfb(server, "320x240x24", {"-noreset"});
    ASSERT_TRUE(display);
    const std::vector<std::string> words = execStartWords(readText(files.serviceUnit));
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[0], TAVLO_WALLPAPER_TOOL);
    EXPECT_EQ(words[4], programFolder.string());
    const std::vector<std::string> session = {"DISPLAY=" + *display, "HOME=" + temp.path().string(),
                                              "XDG_CONFIG_HOME=" + (temp / "config").string(), "PATH=/usr/bin:/bin"};
    ASSERT_EQ(runAsService(words, session), 0);
    EXPECT_TRUE(fs::exists(programFolder / "source" / "DeskTopBG" / "Mix.bmp"));
    EXPECT_EQ(readSettingsLines(programFolder / "Data" / "Walk.ini"), std::vector<std::string>{"1"});

    // Paused: the timer's runs change nothing.
    WallpaperSchedule paused = scheduleOf({"every", "30"});
    paused.paused = true;
    paused.write(programFolder);
    fs::remove(programFolder / "source" / "DeskTopBG" / "Mix.bmp");
    ASSERT_EQ(runAsService(words, session), 0);
    EXPECT_FALSE(fs::exists(programFolder / "source" / "DeskTopBG" / "Mix.bmp"));
}

}  // namespace
}  // namespace tavlo::wallpaper
