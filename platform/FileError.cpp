#include "FileError.h"

namespace tavlo {

FileError::FileError(const std::string& action, const std::filesystem::path& file, const std::string& cause)
    : UserFacingError(describeFileFailure(action, file, cause)) {}

FileError::FileError(const std::string& action, const std::filesystem::path& file, int errnoValue)
    : UserFacingError(describeFileFailure(action, file, describeSystemError(errnoValue))) {}

}  // namespace tavlo
