#pragma once
#include "PlatformTexts.h"
#include "UserFacingError.h"

#include <filesystem>
#include <string>

namespace tavlo {

// A file could not be read or written. The text names the file and the cause,
// so that it can be shown to the user as it stands.
class FileError : public UserFacingError {
public:
    // `action`: one of the actions of PlatformTexts.h.
    FileError(const std::string& action, const std::filesystem::path& file, const std::string& cause);
    FileError(const std::string& action, const std::filesystem::path& file, int errnoValue);
};

}  // namespace tavlo
