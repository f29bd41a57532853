#include "LoginRestore.h"
#include "AtomicFile.h"
#include "DesktopCommand.h"
#include "SettingsFile.h"

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
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tavlo助手壁纸\n"
           "Comment=登录时重新设置 Tavlo助手 的桌面壁纸\n"
           "Exec=" +
           entryValue(execArgument(tool.string())) +
           " restore\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

void rememberForLogin(const LoginRestorePaths& paths, const WallpaperBackend& backend, const fs::path& picture) {
    if (backend.keptAcrossLogin()) {
        std::error_code error;
        fs::remove(paths.autostartEntry, error);
        fs::remove(paths.stateFile, error);
        return;
    }
    fs::create_directories(paths.stateFile.parent_path());
    writeSettingsLines(paths.stateFile, {fs::absolute(picture).string()});
    writeText(paths.autostartEntry, autostartEntry(paths.tool));
}

std::optional<fs::path> pictureToRestore(const LoginRestorePaths& paths) {
    const auto lines = readSettingsLines(paths.stateFile);
    if (!lines || lines->empty() || lines->front().empty()) return std::nullopt;
    return fs::path(lines->front());
}

void RememberingWallpaper::SetWallpaper(const fs::path& path) {
    desktop_->SetWallpaper(path);
    try {
        rememberForLogin(paths_, *desktop_, path);
    } catch (const std::exception& error) {
        // The wallpaper is set; only the next login will not see it again.
        std::fprintf(stderr, "壁纸已经设置，但下次登录时不会自动恢复：%s\n", error.what());
    }
}

}  // namespace tavlo::wallpaper
