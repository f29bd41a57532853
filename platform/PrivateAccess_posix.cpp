#include "PrivateAccess.h"

#include "FileError.h"

#include <dirent.h>
#include <endian.h>
#include <fcntl.h>
#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tavlo {

namespace {

constexpr mode_t kGroupAndOthers = S_IRWXG | S_IRWXO;
constexpr const char* kDefaultAcl = "system.posix_acl_default";

// A default ACL that gives the group and others nothing: files and folders
// made in the folder afterwards are the user's only whatever the umask, also
// those that other libraries make (the notes database and its journal).
// A folder with a default ACL of its own keeps it; a file system without
// ACLs keeps the umask's rule, under a folder no one else can enter.
void givePrivateDefaultAcl(int folder) {
    if (::fgetxattr(folder, kDefaultAcl, nullptr, 0) > 0) return;
    struct {
        posix_acl_xattr_header header;
        posix_acl_xattr_entry entries[3];
    } acl{};
    acl.header.a_version = htole32(POSIX_ACL_XATTR_VERSION);
    const std::uint16_t tags[] = {ACL_USER_OBJ, ACL_GROUP_OBJ, ACL_OTHER};
    const std::uint16_t rights[] = {ACL_READ | ACL_WRITE | ACL_EXECUTE, 0, 0};
    for (int i = 0; i < 3; ++i) {
        acl.entries[i].e_tag = htole16(tags[i]);
        acl.entries[i].e_perm = htole16(rights[i]);
        acl.entries[i].e_id = htole32(static_cast<std::uint32_t>(ACL_UNDEFINED_ID));
    }
    (void)::fsetxattr(folder, kDefaultAcl, &acl, sizeof acl, 0);
}

// The folder open as `folder` first, so that no one else can swap what is in
// it while it is walked; then what is in it.
void narrowFolder(int folder, uid_t user) {
    struct stat info {};
    if (::fstat(folder, &info) != 0 || info.st_uid != user) return;  // someone else's, with all it holds
    if ((info.st_mode & kGroupAndOthers) != 0) (void)::fchmod(folder, info.st_mode & 07777 & ~kGroupAndOthers);
    givePrivateDefaultAcl(folder);

    const int listing = ::dup(folder);
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        struct stat item {};
        if (::fstatat(folder, name, &item, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(item.st_mode)) {
            const int sub = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub < 0) continue;
            narrowFolder(sub, user);
            ::close(sub);
        } else if (S_ISREG(item.st_mode) && item.st_uid == user && item.st_nlink == 1 &&
                   (item.st_mode & kGroupAndOthers) != 0) {
            // A file that went away or will not change is left as it is.
            if (::fchmodat(folder, name, item.st_mode & 07777 & ~kGroupAndOthers, 0) != 0) continue;
        }
    }
    ::closedir(dir);
}

}  // namespace

void createPrivateFolders(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) return;
    if (folder.has_parent_path() && folder.parent_path() != folder) createPrivateFolders(folder.parent_path());
    if (::mkdir(folder.c_str(), 0700) == 0) return;
    const int cause = errno;
    if (cause == EEXIST && std::filesystem::is_directory(folder, error)) return;  // made meanwhile
    throw FileError(kCreateFolderAction, folder, cause);
}

void narrowToOwner(const std::filesystem::path& root) {
    const int folder = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    narrowFolder(folder, ::geteuid());
    ::close(folder);
}

}  // namespace tavlo
