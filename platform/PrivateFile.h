#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Files of the user's that no one else may plant, read or redirect: what is
// kept outside the program folder (the recovery of unsaved notes).
namespace tavlo {

// Whether `folder` is a folder only the user can enter, made (0700) when
// missing. Its own folder's rights are narrowed to the user; a link, a file,
// or a folder of another account is refused (false) and left alone.
bool usePrivateFolder(const std::filesystem::path& folder);

// Replaces `file` by `bytes`, readable by the user only (0600): written
// under a new name made with O_EXCL beside it and renamed into place, so a
// link planted at the name is replaced, never written through. Throws
// FileError.
void writePrivateFile(const std::filesystem::path& file, std::string_view bytes);

// The file's bytes; nothing when it is missing, not a regular file (a link
// included), or belongs to another account.
std::optional<std::string> readOwnFile(const std::filesystem::path& file);

}  // namespace tavlo
