#include "PrivateAccess.h"

#include "FileError.h"

namespace tavlo {

// A user's folders on Windows take their rights from the user's profile,
// which only the user (and the administrators) can read.
void createPrivateFolders(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw FileError(kCreateFolderAction, folder, describeSystemError(error.value()));
}

void narrowToOwner(const std::filesystem::path&) {}

}  // namespace tavlo
