#pragma once
#include "Bitmap.h"
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

// "Data\tmppic.ini": the current picture's path, one line.
// LoadTmpPic reads line 1 into CurrentPicturePath; a missing file is created
// holding one empty line, and a file without any line means no picture.
void LoadTmpPic(GlobalState& state);
// Replaces the file with the single line CurrentPicturePath.
void SaveTmpPic(const GlobalState& state);

// A BMP file holding the picture at `source`, by its extension (any case):
// ".bmp" gives `source` itself, ".jpg"/".jpeg" and ".gif" a converted ".bmp"
// beside it, anything else an empty path. Throws when a conversion fails.
std::filesystem::path ConvertToBmp(const std::filesystem::path& source);
std::filesystem::path JpegToBmp(const std::filesystem::path& source);
std::filesystem::path GifToBmp(const std::filesystem::path& source);

// The BMP file an inserted ".jpg", ".jpeg" or ".gif" picture becomes, written
// from `picture`, the picture already decoded for showing (so that it is not
// decoded twice): beside the source under its name with ".bmp"; where that
// cannot be written (a read-only share, installed wallpapers, a CD) in the
// program's "tmp\" folder under insertedPictureName. Returns the file
// written; throws FileError when neither place can be written.
std::filesystem::path writeInsertedPicture(const imaging::Bitmap& picture, const std::filesystem::path& source,
                                           const ProgramFolder& folder);

// The name an inserted picture's BMP takes in "tmp\": one per source file,
// so that no two pictures share one ("tmp\tmp.bmp" is never one of them).
std::string insertedPictureName(const std::filesystem::path& source);

// A path's extension with its dot, in lower case (".jpg"); empty if none.
std::string lowerExtension(const std::filesystem::path& path);

// Path <-> the UTF-8 text stored in settings files.
std::string pathToText(const std::filesystem::path& path);
std::filesystem::path textToPath(const std::string& text);

}  // namespace tavlo
