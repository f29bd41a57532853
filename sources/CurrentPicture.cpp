#include "CurrentPicture.h"

#include "PathText.h"
#include "SettingsFile.h"

namespace tavlo {

namespace {

constexpr const char* kTmpPicFile = "Data\\tmppic.ini";

}  // namespace

void LoadTmpPic(GlobalState& state) {
    std::vector<std::string> bytes;
    const auto lines = readSettingsLines(state.folder.path(kTmpPicFile), &bytes);
    if (!lines) {
        state.CurrentPicturePath.clear();
        // Something other than a file in its place (a pipe) is left as it is.
        writeDefaultSettingsLines(state.folder.pathForWrite(kTmpPicFile), {""});
        return;
    }
    // A file without any line holds no picture.
    state.CurrentPicturePath =
        lines->empty() ? std::filesystem::path() : pathFromSettingsLine(lines->front(), bytes.front());
}

void SaveTmpPic(const GlobalState& state) {
    writeSettingsLines(state.folder.pathForWrite(kTmpPicFile), {pathToText(state.CurrentPicturePath)});
}

}  // namespace tavlo
