#include "WallpaperOptions.h"

#include "SettingsFile.h"

namespace tavlo {
namespace {

constexpr std::string_view kFile = "Data\\WallpaperFit.ini";

}  // namespace

WallpaperOptions WallpaperOptions::read(const ProgramFolder& folder) {
    WallpaperOptions options;
    try {
        const auto lines = readSettingsLines(folder.path(kFile));
        if (!lines) return options;
        if (!lines->empty())
            if (const auto mode = fitModeFromWord((*lines)[0])) options.mode = *mode;
        if (lines->size() > 1) options.pictureOnEveryMonitor = (*lines)[1] != "primary";
    } catch (const std::exception&) {
        // An unreadable file leaves the defaults, as a missing one does.
    }
    return options;
}

void WallpaperOptions::write(const ProgramFolder& folder) const {
    writeSettingsLines(folder.pathForWrite(kFile),
                       {std::string(fitModeWord(mode)), pictureOnEveryMonitor ? "all" : "primary"});
}

}  // namespace tavlo
