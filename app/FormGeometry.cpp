#include "FormGeometry.h"

#include "SettingsFile.h"

#include <algorithm>

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

LoadedGeometry readFormSize(const ProgramFolder& folder, int screenWidth, int screenHeight) {
    const FormGeometry firstRun = firstRunGeometry(screenWidth, screenHeight);
    if (auto lines = readSettingsLines(folder.path(kFormSizeFile))) {
        return {geometryFromLines(*lines, firstRun), false};
    }
    return {firstRun, true};
}

namespace {
// One axis: the size between the minimum and the area, the start within it.
void fitAxis(std::int32_t& start, std::int32_t& size, int minimum, int areaStart, int areaSize) {
    size = std::max<std::int32_t>(minimum, std::min<std::int32_t>(size, areaSize));
    const std::int64_t last = std::int64_t{areaStart} + areaSize - size;
    start = last < areaStart ? areaStart : static_cast<std::int32_t>(std::clamp<std::int64_t>(start, areaStart, last));
}
}  // namespace

FormGeometry fitToScreen(const FormGeometry& geometry, const ScreenArea& area) {
    FormGeometry g = geometry;
    fitAxis(g.left, g.width, kMinimumWidth, area.left, area.width);
    fitAxis(g.top, g.height, kMinimumHeight, area.top, area.height);
    return g;
}

void saveFormSize(const ProgramFolder& folder, const FormGeometry& geometry) {
    writeSettingsLines(folder.pathForWrite(kFormSizeFile), formSizeLines(geometry));
}

}  // namespace tavlo::app
