#include "AtomicFile.h"
#include "FileError.h"
#include "MappedFile.h"
#include "PosixFileType.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavlo {

namespace {

constexpr const char* kWriteAction = kWriteFileAction;

// Temporary names are short and independent of the target's, so that a name
// near the system's length limit can still be written, and carry the writer's
// process id, so that those of a killed writer can be told from live ones.
constexpr std::string_view kTempPrefix = ".tavlo-tmp-";

// Earlier versions named the temporary after its target: "NAME.tmp-" and six
// letters or digits (mkstemp's), with no process id to tell a live writer's.
// Such a file beside the target we replace is a killed writer's when it has
// not been written for a while.
constexpr std::string_view kOldTempInfix = ".tmp-";
constexpr time_t kOldTempAgeSeconds = 10 * 60;

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::filesystem::path temporaryName(const std::filesystem::path& folder) {
    static std::atomic<unsigned> counter{0};
    return folder / (std::string(kTempPrefix) + std::to_string(::getpid()) + "-" + std::to_string(counter++));
}

bool isDeadWritersTemporary(std::string_view name) {
    if (!name.starts_with(kTempPrefix)) return false;
    const std::string_view rest = name.substr(kTempPrefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc{} || end == rest.data() || *end != '-' || pid <= 0) return false;
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

bool isOldTemporaryOf(std::string_view name, std::string_view target, int folderFd) {
    if (target.empty() || name.size() != target.size() + kOldTempInfix.size() + 6 || !name.starts_with(target))
        return false;
    const std::string_view rest = name.substr(target.size());
    if (!rest.starts_with(kOldTempInfix)) return false;
    const std::string_view letters = rest.substr(kOldTempInfix.size());
    if (!std::all_of(letters.begin(), letters.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }))
        return false;
    struct stat info {};
    if (::fstatat(folderFd, std::string(name).c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
        return false;
    return info.st_mtim.tv_sec + kOldTempAgeSeconds < ::time(nullptr);
}

// Removes the temporaries that writers killed before they finished left in
// `folder`: ours of processes no longer running, and those of earlier
// versions named after `targetName` (empty: none).
void removeStaleTemporaries(const std::filesystem::path& folder, std::string_view targetName) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (isDeadWritersTemporary(name) || isOldTemporaryOf(name, targetName, ::dirfd(dir)))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Read from the process's status: setting the umask to learn it would change
// it for a moment under every other thread's files.
mode_t currentUmask() {
    char status[4096];
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    const ssize_t size = fd < 0 ? -1 : ::read(fd, status, sizeof status - 1);
    if (fd >= 0) ::close(fd);
    if (size <= 0) return 077;  // unknown: keep the file private
    const std::string_view text(status, static_cast<std::size_t>(size));
    const auto at = text.find("\nUmask:\t");
    if (at == std::string_view::npos) return 077;
    unsigned value = 077;
    const std::string_view digits = text.substr(at + 8);
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 8);
    return static_cast<mode_t>(value & 0777);
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;  // the file itself is on disk; a folder we cannot open is no reason to fail
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

struct AtomicFile::Native {
    const std::filesystem::path& target;  // as given, for messages
    std::filesystem::path resolved;       // the file replaced: the target, links followed
    std::filesystem::path temp;           // the new file's temporary name, once it has one
    Sync sync;
    Links links;
    int fd = -1;
    bool unnamed = false;  // opened without a name (O_TMPFILE)
    // A new named temporary gets a plain create's rights once it is whole.
    bool openToUmaskAtCommit = false;
    std::uint64_t end = 0;

    Native(const std::filesystem::path& target, Sync sync, Links links)
        : target(target), resolved(target), sync(sync), links(links) {}
    ~Native() {
        if (fd >= 0) ::close(fd);
        if (!temp.empty()) ::unlink(temp.c_str());
    }

    [[noreturn]] void fail(int errnoValue) const { throw FileError(kWriteAction, target, errnoValue); }
    void resolve();
    void openTemporary();
    void linkTemporary();
    void putInPlace();
    // What the new file may take the place of: a regular file, or a link
    // when links are replaced.
    bool replaceable(mode_t mode) const { return S_ISREG(mode) || (links == Links::Replace && S_ISLNK(mode)); }
};

void AtomicFile::Native::resolve() {
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (::lstat(resolved.c_str(), &info) != 0) break;  // nothing there yet: the write creates it
        if (!S_ISLNK(info.st_mode) || links == Links::Replace) {
            if (!replaceable(info.st_mode))
                throw FileError(kWriteAction, target, describeNotRegularFile(fileTypeOfMode(info.st_mode)));
            break;
        }
        if (hops == 40) fail(ELOOP);
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(resolved, error);
        if (error) fail(error.value());
        resolved = link.is_absolute() ? link : folderOf(resolved) / link;
    }
}

void AtomicFile::Native::openTemporary() {
    const std::filesystem::path folder = folderOf(resolved);
    // Created as a plain create would be, so that the umask or the folder's
    // default ACL (a private folder's) decides the new file's rights; it has
    // no name, so no one can open it meanwhile.
    fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    unnamed = fd >= 0;
    if (!unnamed) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) fail(errno);
        // No unnamed files here: a named one, and the leftovers of killed writers go.
        removeStaleTemporaries(folder, {});
        do {
            temp = temporaryName(folder);
            // The user's only while it is written: a reader who opened it now
            // could read all that is written later.
            fd = ::open(temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        } while (fd < 0 && errno == EEXIST);
        if (fd < 0) {
            const int cause = errno;
            temp.clear();
            fail(cause);
        }
    }
    // A replaced file keeps its rights (a replaced link gives none).
    struct stat existing {};
    if (::lstat(resolved.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0) fail(errno);
    } else if (!unnamed) {
        openToUmaskAtCommit = true;
    }
}

// Gives the unnamed file a name: the target's own when there is no target
// yet, a temporary one otherwise (a link never replaces a name).
void AtomicFile::Native::linkTemporary() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const auto link = [&](const std::filesystem::path& name) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno == ENOENT && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;  // no /proc
        if (errno != EEXIST) fail(errno);
        return false;
    };
    struct stat existing {};
    if (::lstat(resolved.c_str(), &existing) != 0 && errno == ENOENT && link(resolved)) return;
    for (;;) {
        std::filesystem::path name = temporaryName(folderOf(resolved));
        if (link(name)) {
            temp = std::move(name);
            return;
        }
    }
}

void AtomicFile::Native::putInPlace() {
    // An unnamed file has a name only for a moment; a writer killed in that
    // moment leaves it, and the next writer in the folder removes it.
    removeStaleTemporaries(folderOf(resolved), resolved.filename().native());
    if (sync == Sync::Fast && ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, resolved.c_str(), RENAME_EXCHANGE) == 0) {
        // Swapped: the old file now has the temporary name. Renaming over a
        // file makes ext4 write the new one out first, which costs more than
        // the rest of a composition; a picture we rewrite on every use needs
        // only the swap to be seen whole.
        struct stat old {};
        if (::lstat(temp.c_str(), &old) == 0 && !replaceable(old.st_mode)) {
            // Something else took the target's place since we looked: give it back.
            ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, resolved.c_str(), RENAME_EXCHANGE);
            throw FileError(kWriteAction, target, describeNotRegularFile(fileTypeOfMode(old.st_mode)));
        }
        ::unlink(temp.c_str());
        temp.clear();
        return;
    }
    struct stat existing {};
    if (::lstat(resolved.c_str(), &existing) == 0 && !replaceable(existing.st_mode))
        throw FileError(kWriteAction, target, describeNotRegularFile(fileTypeOfMode(existing.st_mode)));
    if (::rename(temp.c_str(), resolved.c_str()) != 0) fail(errno);
    temp.clear();
}

AtomicFile::AtomicFile(std::filesystem::path target, Sync sync, Links links)
    : target_(std::move(target)), native_(std::make_unique<Native>(target_, sync, links)) {
    native_->resolve();
    native_->openTemporary();
}

AtomicFile::~AtomicFile() = default;

void AtomicFile::write(std::span<const std::byte> bytes) {
    writeAt(native_->end, bytes.data(), bytes.size());
}

void AtomicFile::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
    Native& n = *native_;
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t done = ::pwrite(n.fd, p, size, static_cast<off_t>(offset));
        if (done < 0) {
            if (errno == EINTR) continue;
            n.fail(errno);
        }
        if (done == 0) n.fail(ENOSPC);
        p += done;
        offset += static_cast<std::uint64_t>(done);
        size -= static_cast<std::size_t>(done);
    }
    n.end = std::max(n.end, offset);
}

void AtomicFile::writeGathered(std::span<const Piece> pieces) {
    Native& n = *native_;
    std::vector<iovec> vectors(pieces.size());
    std::transform(pieces.begin(), pieces.end(), vectors.begin(), [](const Piece& piece) {
        return iovec{const_cast<void*>(piece.data), piece.size};
    });
    std::size_t first = 0;
    while (first < vectors.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(vectors.size() - first, IOV_MAX));
        const ssize_t done = ::pwritev(n.fd, vectors.data() + first, count, static_cast<off_t>(n.end));
        if (done < 0) {
            if (errno == EINTR) continue;
            n.fail(errno);
        }
        if (done == 0) n.fail(ENOSPC);
        n.end += static_cast<std::uint64_t>(done);
        // Step past what was written; a partial write leaves the rest of a piece.
        std::size_t left = static_cast<std::size_t>(done);
        while (first < vectors.size() && left >= vectors[first].iov_len) {
            left -= vectors[first].iov_len;
            ++first;
        }
        if (left > 0) {
            vectors[first].iov_base = static_cast<char*>(vectors[first].iov_base) + left;
            vectors[first].iov_len -= left;
        }
    }
}

void AtomicFile::copyFrom(const MappedFile& source, std::uint64_t from, std::size_t size) {
    Native& n = *native_;
    const int sourceFd = static_cast<int>(source.file_);
    auto offset = static_cast<off_t>(from);
    while (size > 0) {
        auto out = static_cast<off_t>(n.end);
        const ssize_t done = ::copy_file_range(sourceFd, &offset, n.fd, &out, size, 0);
        if (done < 0) {
            if (errno == EINTR) continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL) {
                // Not supported between these files: copy through a buffer.
                std::vector<char> buffer(std::min<std::size_t>(size, 1 << 20));
                while (size > 0) {
                    const ssize_t r = ::pread(sourceFd, buffer.data(), std::min(size, buffer.size()), offset);
                    if (r < 0 && errno == EINTR) continue;
                    if (r <= 0) n.fail(r < 0 ? errno : EIO);
                    writeAt(n.end, buffer.data(), static_cast<std::size_t>(r));
                    offset += r;
                    size -= static_cast<std::size_t>(r);
                }
                return;
            }
            n.fail(errno);
        }
        if (done == 0) n.fail(EIO);  // the source ended early
        n.end = static_cast<std::uint64_t>(out);
        size -= static_cast<std::size_t>(done);
    }
}

void AtomicFile::reserve(std::uint64_t size) {
    if (::ftruncate(native_->fd, static_cast<off_t>(size)) != 0) native_->fail(errno);
}

void AtomicFile::commit() {
    Native& n = *native_;
    if (n.openToUmaskAtCommit && ::fchmod(n.fd, 0666 & ~currentUmask()) != 0) n.fail(errno);
    if (n.sync == Sync::Durable && ::fsync(n.fd) != 0) n.fail(errno);
    if (n.unnamed) n.linkTemporary();
    const int fd = std::exchange(n.fd, -1);
    if (::close(fd) != 0) n.fail(errno);
    if (!n.temp.empty()) n.putInPlace();
    if (n.sync == Sync::Durable) syncFolder(folderOf(n.resolved));
}

}  // namespace tavlo
