#pragma once
#include <filesystem>

namespace tavlo {

// Folders and files that only their user can read: what the program keeps
// (notes, pictures, settings) is nobody else's business on a shared machine.

// Creates `folder` and the folders missing above it, each open to the user
// only. Throws FileError.
void createPrivateFolders(const std::filesystem::path& folder);

// Narrows `root` and what lies in it to the user: the group and others lose
// every right on the folders and files that belong to the user, and what is
// made in these folders from now on, by any writer, starts out private.
// What only stands in the folder for something elsewhere is left alone:
// symbolic links are not followed, and a file with further hard links keeps
// its rights. Failures are ignored: a folder that cannot be narrowed works
// as before.
void narrowToOwner(const std::filesystem::path& root);

}  // namespace tavlo
