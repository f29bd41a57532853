#pragma once
// For the POSIX implementations of the platform layer only.
#include <sys/stat.h>

#include <filesystem>

namespace tavlo {

inline std::filesystem::file_type fileTypeOfMode(mode_t mode) {
    using std::filesystem::file_type;
    if (S_ISREG(mode)) return file_type::regular;
    if (S_ISDIR(mode)) return file_type::directory;
    if (S_ISFIFO(mode)) return file_type::fifo;
    if (S_ISCHR(mode)) return file_type::character;
    if (S_ISBLK(mode)) return file_type::block;
    if (S_ISSOCK(mode)) return file_type::socket;
    if (S_ISLNK(mode)) return file_type::symlink;
    return file_type::unknown;
}

}  // namespace tavlo
