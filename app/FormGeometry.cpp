#include "FormGeometry.h"

#include "SettingsFile.h"

namespace tavlo::app {

FormGeometry firstRunGeometry(int screenWidth, int screenHeight) {
    FormGeometry g;
    // C++ division truncates toward zero, as the file's first-run values need
    // (a 799-pixel screen gives -15, not -16).
    g.left = (screenWidth - g.width) / 2;
    g.top = (screenHeight - 30 - g.height) / 2;
    return g;
}

std::vector<std::string> formSizeLines(const FormGeometry& g) {
    return {std::to_string(g.NotePage), std::to_string(g.width), std::to_string(g.height), std::to_string(g.left),
            std::to_string(g.top)};
}

namespace {
std::int32_t lineOr(const std::vector<std::string>& lines, std::size_t index, std::int32_t fallback) {
    if (index >= lines.size()) return fallback;
    return parseInteger(lines[index]).value_or(fallback);
}
}  // namespace

FormGeometry geometryFromLines(const std::vector<std::string>& lines, const FormGeometry& firstRun) {
    FormGeometry g;
    g.width = lineOr(lines, 1, firstRun.width);
    g.height = lineOr(lines, 2, firstRun.height);
    g.left = lineOr(lines, 3, firstRun.left);
    g.top = lineOr(lines, 4, firstRun.top);
    g.NotePage = lineOr(lines, 0, firstRun.NotePage);
    return g;
}

LoadedGeometry loadFormSize(const ProgramFolder& folder, int screenWidth, int screenHeight) {
    const FormGeometry firstRun = firstRunGeometry(screenWidth, screenHeight);
    if (auto lines = readSettingsLines(folder.path(kFormSizeFile))) {
        return {geometryFromLines(*lines, firstRun), false};
    }
    writeSettingsLines(folder.pathForWrite(kFormSizeFile), formSizeLines(firstRun));
    return {firstRun, true};
}

void saveFormSize(const ProgramFolder& folder, const FormGeometry& geometry) {
    writeSettingsLines(folder.pathForWrite(kFormSizeFile), formSizeLines(geometry));
}

}  // namespace tavlo::app
