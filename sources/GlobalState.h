#pragma once
#include "ProgramFolder.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tavlo {

// One line of the background list file.
struct TPicBGList {
    std::int32_t Index = 0;  // the line's position from 0
    std::string FileName;    // a bare file name in the background folder
    friend bool operator==(const TPicBGList&, const TPicBGList&) = default;
};

// The program-wide state. The application owns one instance and hands it to
// the modules by reference; tests make as many as they need.
struct GlobalState {
    explicit GlobalState(ProgramFolder programFolder)
        : folder(std::move(programFolder)), ConfigSetBgPath(folder.path("data\\configSetBg.ini")) {}

    ProgramFolder folder;

    // The program's "now" (seconds since the epoch): today's date line, the
    // calendar's date at start-up and the notes' date stamp. Tests pin it.
    std::function<std::time_t()> clock = [] { return std::time(nullptr); };

    // Full path of the BMP file that holds the current picture; empty if none.
    std::filesystem::path CurrentPicturePath;

    // The apply command's confirmation state.
    bool ConfirmApply = true;
    std::int32_t ApplyConfirmed = 0;
    std::filesystem::path ConfigSetBgPath;

    // The folder of the last picture chosen in an open dialog in this run;
    // empty until one is chosen.
    std::filesystem::path lastPictureFolder;

    // The background list file, line 1 included as entry 0.
    std::vector<TPicBGList> PicBGList;
    std::int32_t PicBGCount() const { return static_cast<std::int32_t>(PicBGList.size()); }
};

}  // namespace tavlo
