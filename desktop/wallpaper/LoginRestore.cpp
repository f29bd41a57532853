#include "LoginRestore.h"
#include "AtomicFile.h"
#include "DesktopCommand.h"
#include "Gb18030.h"
#include "SettingsFile.h"
#include "UserFacingError.h"
#include "WallpaperTexts.h"

#include <cctype>
#include <cstdio>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

// An argument of an Exec line: quoted, with the characters that the quotes
// do not protect escaped, and "%" doubled (it starts field codes).
std::string execArgument(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return quoted + '"';
}

// A word that needs no quotes: letters, digits and "-".
bool isPlainWord(const std::string& text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-')) return false;
    return true;
}

// A desktop entry's string value: backslashes, line ends and tabs escaped.
std::string entryValue(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\t')
            escaped += "\\t";
        else if (c == '\r')
            escaped += "\\r";
        else
            escaped += c;
    }
    return escaped;
}

void writeText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    AtomicFile out(file, AtomicFile::Sync::Durable);
    out.write(text.data(), text.size());
    out.commit();
}

}  // namespace

LoginRestorePaths LoginRestorePaths::forProgramFolder(const fs::path& programFolder) {
    return {programFolder / "Data" / "Wallpaper.ini",
            fs::path(userConfigFolder()) / "autostart" / "tavlo-wallpaper.desktop", programFolder / "tavlo-wallpaper"};
}

std::string autostartEntry(const fs::path& tool) {
    return autostartEntry(tool, {"restore"}, "Tavlo助手壁纸", "登录时重新设置 Tavlo助手 的桌面壁纸");
}

std::string autostartEntry(const fs::path& tool, const std::vector<std::string>& arguments, const std::string& name,
                           const std::string& comment) {
    // GLib looks for the program under its name as written, before "%%"
    // becomes "%": a program whose path holds "%" is started through env.
    const std::string program = tool.string();
    std::string command = (program.find('%') != std::string::npos ? "env " : "") + execArgument(program);
    for (const std::string& argument : arguments)
        command += " " + (isPlainWord(argument) ? argument : execArgument(argument));
    // Desktops skip an entry that is not UTF-8: better no entry, and a
    // message, than one that silently does nothing.
    if (!isUtf8(command)) throw UserFacingError(texts::entryPathNotUtf8());
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           name +
           "\n"
           "Comment=" +
           comment +
           "\n"
           "Exec=" +
           entryValue(command) +
           "\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

void writeConfigFile(const fs::path& file, const std::string& entry) {
    writeText(file, entry);
}

namespace {

constexpr const char* kSpanned = "spanned";
constexpr const char* kMonitors = "monitors";

// One line of the state file: a line break in it would come back as two
// lines, another path.
std::string lineOf(const std::string& value) {
    for (const char c : value)
        if (c == '\n' || c == '\r') throw UserFacingError(texts::pathHasLineBreak());
    return value;
}

}  // namespace

void rememberForLogin(const LoginRestorePaths& paths, const WallpaperBackend& backend,
                      const RememberedWallpaper& wallpaper) {
    if (backend.keptAcrossLogin()) {
        std::error_code error;
        fs::remove(paths.autostartEntry, error);
        fs::remove(paths.stateFile, error);
        return;
    }
    // Both made before either is written: nothing half remembered.
    const std::string entry = autostartEntry(paths.tool);
    std::vector<std::string> lines{lineOf(fs::absolute(wallpaper.picture).string())};
    if (wallpaper.kind == RememberedWallpaper::Kind::Spanned) lines.emplace_back(kSpanned);
    if (wallpaper.kind == RememberedWallpaper::Kind::PerMonitor) {
        lines.emplace_back(kMonitors);
        for (const auto& [name, picture] : wallpaper.monitors) {
            lines.push_back(lineOf(name));
            lines.push_back(lineOf(fs::absolute(picture).string()));
        }
    }
    fs::create_directories(paths.stateFile.parent_path());
    writeSettingsLines(paths.stateFile, lines);
    writeText(paths.autostartEntry, entry);
}

std::optional<RememberedWallpaper> wallpaperToRestore(const LoginRestorePaths& paths) {
    const auto lines = readSettingsLines(paths.stateFile);
    if (!lines || lines->empty() || lines->front().empty()) return std::nullopt;
    RememberedWallpaper wallpaper;
    wallpaper.picture = lines->front();
    if (lines->size() > 1 && (*lines)[1] == kSpanned) wallpaper.kind = RememberedWallpaper::Kind::Spanned;
    if (lines->size() > 1 && (*lines)[1] == kMonitors) {
        wallpaper.kind = RememberedWallpaper::Kind::PerMonitor;
        for (std::size_t i = 2; i + 1 < lines->size(); i += 2)
            wallpaper.monitors.emplace_back((*lines)[i], fs::path((*lines)[i + 1]));
    }
    return wallpaper;
}

void restoreWallpaper(WallpaperBackend& backend, const RememberedWallpaper& wallpaper, const MonitorLayout& monitors) {
    using Kind = RememberedWallpaper::Kind;
    if (wallpaper.kind == Kind::Spanned && monitors.size() > 1) return backend.SetSpannedWallpaper(wallpaper.picture);
    if (wallpaper.kind == Kind::PerMonitor && backend.perMonitor()) {
        std::vector<MonitorPicture> pictures;
        for (const auto& [name, picture] : wallpaper.monitors)
            for (const Monitor& monitor : monitors)
                if (monitor.name == name) pictures.push_back({monitor, picture});
        if (!pictures.empty()) return backend.SetMonitorWallpapers(pictures);
    }
    backend.SetWallpaper(wallpaper.picture);
}

void RememberingWallpaper::remember(const RememberedWallpaper& wallpaper) {
    try {
        rememberForLogin(paths_, *desktop_, wallpaper);
    } catch (const std::exception& error) {
        // The wallpaper is set; only the next login will not see it again.
        std::fprintf(stderr, "壁纸已经设置，但下次登录时不会自动恢复：%s\n", error.what());
    }
}

void RememberingWallpaper::SetWallpaper(const fs::path& path) {
    desktop_->SetWallpaper(path);
    remember({RememberedWallpaper::Kind::Single, path, {}});
}

void RememberingWallpaper::SetSpannedWallpaper(const fs::path& path) {
    desktop_->SetSpannedWallpaper(path);
    remember({RememberedWallpaper::Kind::Spanned, path, {}});
}

void RememberingWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    desktop_->SetMonitorWallpapers(pictures);
    if (pictures.empty()) return;
    RememberedWallpaper wallpaper{RememberedWallpaper::Kind::PerMonitor, pictures.front().picture, {}};
    for (const MonitorPicture& picture : pictures)
        wallpaper.monitors.emplace_back(picture.monitor.name, picture.picture);
    remember(wallpaper);
}

}  // namespace tavlo::wallpaper
