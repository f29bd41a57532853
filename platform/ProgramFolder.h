#pragma once
#include <filesystem>
#include <string_view>

namespace tavlo {

// The folder that holds the executable and every file the program keeps.
// Relative names are given in the program's own Windows spelling
// ("Data\\tmppic.ini", "source\\DeskTopBG\\Mix.bmp"); "Data" and "data" name
// one folder, stored as "Data".
class ProgramFolder {
public:
    explicit ProgramFolder(std::filesystem::path root);

    // The folder of the running executable.
    static ProgramFolder ofExecutable();

    const std::filesystem::path& root() const { return root_; }

    // Full path for a relative name; creates nothing.
    std::filesystem::path path(std::string_view relative) const;

    // Full path for a file about to be written: its folders are created,
    // open to the user only.
    std::filesystem::path pathForWrite(std::string_view relative) const;

    // Narrows the folder and what the user keeps in it to the user alone
    // (see narrowToOwner): run at start-up, it closes a folder that an
    // earlier version left open to others.
    void makePrivate() const;

    // The background folder ("source\\DeskTopBG\\"), and a file in it.
    std::filesystem::path backgroundFolder() const { return path("source\\DeskTopBG"); }
    std::filesystem::path backgroundFile(std::string_view name) const;

private:
    std::filesystem::path root_;
};

// Path of the running executable (platform-specific, see ExecutablePath_*.cpp).
std::filesystem::path executablePath();

}  // namespace tavlo
