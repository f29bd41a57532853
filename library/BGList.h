#pragma once
#include "uGlobal.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

class MappedFile;

// "Data\BGPicList.ini": line 1 names the chosen background, lines 2 to n are
// the library in the picker's order. Names are bare file names in the
// background folder, compared exactly.
inline constexpr const char* kBGListFile = "Data\\BGPicList.ini";
inline constexpr const char* kBuiltInBackground = "A1.bmp";

// The list file's lines. A missing file, or one without any line, is first
// written with the default two lines. Throws FileError when it cannot be read
// or written.
std::vector<std::string> readBGListLines(const ProgramFolder& folder);

// Replaces the list file: the chosen name, then the library entries.
void writeBGListLines(const ProgramFolder& folder, const std::string& chosen, const std::vector<std::string>& library);

// Where a list line's picture lies: in the background folder, whatever the
// line says. A rooted name is taken as relative to the folder; a name that
// climbs out of it ("../x.bmp") or names the folder itself names no
// background at all.
std::optional<std::filesystem::path> backgroundPath(const ProgramFolder& folder, std::string_view name);

// Copies an opened picture into the library at `to`, replacing it atomically
// and durably: a failed copy never leaves a half picture under a name the
// list may already hold. Throws FileError, also when the picture was cut or
// rewritten while it was copied (nothing is left at `to` then).
void copyIntoLibrary(const MappedFile& source, const std::filesystem::path& to);

// Where the apply command's walk through the list stands: fields of the main window.
struct BackgroundWalk {
    std::string CurrentBGFile;        // the chosen background's name, from line 1
    std::int32_t CurrentBGIndex = 0;  // the entry the next apply uses
};

// Reads the list into PicBGList and positions the walk: with StartAtChoice at
// the last entry bearing the chosen name, otherwise at the last entry. Errors
// while reading are ignored: whatever was set before stays.
void LoadBGList(GlobalState& state, BackgroundWalk& walk, bool StartAtChoice);

// The picker's logic without its window: the working copy of the chosen name
// and the library entries as the picker's list shows them.
class BackgroundPicker {
public:
    explicit BackgroundPicker(const ProgramFolder& folder) : folder_(folder) {}

    enum class AddResult {
        Added,
        Failed,       // copying or converting failed: "添加失败，请重试！"
        NotAPicture,  // the converted file cannot be read: "添加背景图片异常，请重试！"
    };
    // Why the last Add was refused, in the user's words; empty when it was not.
    std::string addCause;

    // On every show: the chosen name and the entries from the file; errors ignored.
    void FillPicList();
    // Copies `chosen` into the background folder, converts it to BMP (a BMP
    // is its own, a JPEG, GIF or PNG gets one beside it), test-reads it and
    // appends it to the list.
    AddResult Add(const std::filesystem::path& chosen);
    // The selected entry leaves the list ("A1.bmp" stays); errors ignored.
    void Remove(std::optional<int> selected);
    // Makes the selected entry the chosen background; errors ignored.
    void Ok(std::optional<int> selected);
    void WriteBGListFile();

    std::string PickedBGFile;
    std::vector<std::string> items;

private:
    const ProgramFolder& folder_;
};

}  // namespace tavlo
