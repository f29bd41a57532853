#include "PrivateFile.h"

#include "AtomicFile.h"

#include <fstream>
#include <iterator>

namespace tavlo {

// A user's folders on Windows take their rights from the user's profile,
// which only the user (and the administrators) can read.
bool usePrivateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return !std::filesystem::is_symlink(folder, error) && std::filesystem::is_directory(folder, error);
}

void writePrivateFile(const std::filesystem::path& file, std::string_view bytes) {
    AtomicFile out(file, AtomicFile::Sync::Durable, AtomicFile::Links::Replace);
    out.write(bytes.data(), bytes.size());
    out.commit();
}

std::optional<std::string> readOwnFile(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::symlink_status(file, error).type() != std::filesystem::file_type::regular) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tavlo
