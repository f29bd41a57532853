#pragma once
#include "ProgramFolder.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tavlo::app {

// The main window's remembered geometry and notes page, as "data\FormSize.ini"
// holds them: NotePage, width, height, left, top, one per line.
struct FormGeometry {
    std::int32_t NotePage = 1;
    std::int32_t width = 830;
    std::int32_t height = 500;
    std::int32_t left = 0;
    std::int32_t top = 0;
    friend bool operator==(const FormGeometry&, const FormGeometry&) = default;
};

// The geometry of a first run: 830 × 500, centred horizontally and, leaving
// room for a 30-pixel taskbar, vertically (integer division toward zero).
FormGeometry firstRunGeometry(int screenWidth, int screenHeight);

// The file's five lines.
std::vector<std::string> formSizeLines(const FormGeometry& geometry);

// Values from the file's lines, used as read. A missing line or one that is
// not an integer takes the first-run value instead.
FormGeometry geometryFromLines(const std::vector<std::string>& lines, const FormGeometry& firstRun);

struct LoadedGeometry {
    FormGeometry geometry;
    bool firstRun = false;  // no file: the first-run values, to be written once applied
};

// LoadFormSize's file part: the values "data\FormSize.ini" holds, or the
// first-run values when there is no file.
LoadedGeometry readFormSize(const ProgramFolder& folder, int screenWidth, int screenHeight);

// The smallest window at which every visible control stays usable: the
// caption buttons, the apply button and the options label (anchored right)
// stay clear of the date line and the insert buttons, and the add-background
// picture of the left column shows whole.
inline constexpr int kMinimumWidth = 700;
inline constexpr int kMinimumHeight = 466;

// Part of the screen a window may take (the screen less its panels).
struct ScreenArea {
    int left = 0, top = 0, width = 0, height = 0;
};

// The geometry as the window takes it: no smaller than the minimum, no
// larger than the area, and lying within the area (a huge or far-off
// geometry would cost memory or lose the window). Where the area is smaller
// than the minimum, the minimum wins and the window starts at the area's
// top-left corner.
FormGeometry fitToScreen(const FormGeometry& geometry, const ScreenArea& area);

// SaveFormSize's file part: replaces "data\FormSize.ini".
void saveFormSize(const ProgramFolder& folder, const FormGeometry& geometry);

inline constexpr const char* kFormSizeFile = "data\\FormSize.ini";

}  // namespace tavlo::app
