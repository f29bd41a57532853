#include "FileError.h"

#include <cstring>

namespace tavlo {

namespace {

std::string describe(const std::string& action, const std::filesystem::path& file, const std::string& cause) {
    return action + "“" + reinterpret_cast<const char*>(file.u8string().c_str()) + "”失败：" + cause;
}

}  // namespace

FileError::FileError(const std::string& action, const std::filesystem::path& file, const std::string& cause)
    : std::runtime_error(describe(action, file, cause)) {}

FileError::FileError(const std::string& action, const std::filesystem::path& file, int errnoValue)
    : std::runtime_error(describe(action, file, std::strerror(errnoValue))) {}

}  // namespace tavlo
