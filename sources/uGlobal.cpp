#include "uGlobal.h"

#include "SettingsFile.h"

namespace tavlo {

namespace {

constexpr const char* kTmpPicFile = "Data\\tmppic.ini";

}  // namespace

std::string pathToText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::filesystem::path textToPath(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

void LoadTmpPic(GlobalState& state) {
    const auto lines = readSettingsLines(state.folder.path(kTmpPicFile));
    if (!lines) {
        state.CurrentPicturePath.clear();
        writeSettingsLines(state.folder.pathForWrite(kTmpPicFile), {""});
        return;
    }
    // A file without any line holds no picture.
    state.CurrentPicturePath = lines->empty() ? std::filesystem::path() : textToPath(lines->front());
}

void SaveTmpPic(const GlobalState& state) {
    writeSettingsLines(state.folder.pathForWrite(kTmpPicFile), {pathToText(state.CurrentPicturePath)});
}

}  // namespace tavlo
