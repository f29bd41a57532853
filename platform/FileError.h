#pragma once
#include "UserFacingError.h"

#include <filesystem>
#include <string>

namespace tavlo {

// A file could not be read or written. The text names the file and the cause,
// so that it can be shown to the user as it stands.
class FileError : public UserFacingError {
public:
    FileError(const std::string& action, const std::filesystem::path& file, const std::string& cause);
    FileError(const std::string& action, const std::filesystem::path& file, int errnoValue);
};

// The cause behind a system error number in the user's words: the causes a
// user meets (no permission, a full disk, ...) in words, any other by its
// error number.
std::string describeSystemError(int errnoValue);

// The cause when a file to read or replace is not a regular file: what it is.
std::string describeNotRegularFile(std::filesystem::file_type type);

// The cause when a file changed (cut short, rewritten) while it was read.
std::string describeChangedWhileRead();

}  // namespace tavlo
