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
    bool fileWritten = false;  // true on a first run: the file was created
};

// LoadFormSize's file part: reads "data\FormSize.ini", or on a first run
// writes it with the first-run values.
LoadedGeometry loadFormSize(const ProgramFolder& folder, int screenWidth, int screenHeight);

// SaveFormSize's file part: replaces "data\FormSize.ini".
void saveFormSize(const ProgramFolder& folder, const FormGeometry& geometry);

inline constexpr const char* kFormSizeFile = "data\\FormSize.ini";

}  // namespace tavlo::app
