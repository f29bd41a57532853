#include "AtomicFile.h"

#include "FileError.h"
#include "PosixFileType.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

namespace {

constexpr const char* kWriteAction = "写入文件";

// Temporary names are short and independent of the target's, so that a name
// near the system's length limit can still be written, and carry the writer's
// process id, so that those of a killed writer can be told from live ones.
constexpr std::string_view kTempPrefix = ".tavlo-tmp-";

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::filesystem::path temporaryName(const std::filesystem::path& folder) {
    static std::atomic<unsigned> counter{0};
    return folder / (std::string(kTempPrefix) + std::to_string(::getpid()) + "-" + std::to_string(counter++));
}

// Removes the temporaries that writers killed before they finished left in
// `folder`; those of processes still running are theirs.
void removeStaleTemporaries(const std::filesystem::path& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(kTempPrefix)) continue;
        const std::string_view rest = name.substr(kTempPrefix.size());
        pid_t pid = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
        if (error != std::errc{} || end == rest.data() || *end != '-' || pid <= 0) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;  // the file itself is on disk; a folder we cannot open is no reason to fail
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target, Sync sync) : target_(std::move(target)), sync_(sync) {
    resolved_ = target_;
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (::lstat(resolved_.c_str(), &info) != 0) break;  // nothing there yet: the write creates it
        if (!S_ISLNK(info.st_mode)) {
            if (!S_ISREG(info.st_mode))
                throw FileError(kWriteAction, target_, describeNotRegularFile(fileTypeOfMode(info.st_mode)));
            break;
        }
        if (hops == 40) throw FileError(kWriteAction, target_, ELOOP);
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(resolved_, error);
        if (error) throw FileError(kWriteAction, target_, error.value());
        resolved_ = link.is_absolute() ? link : folderOf(resolved_) / link;
    }
    openTemporary();
}

void AtomicFile::openTemporary() {
    const std::filesystem::path folder = folderOf(resolved_);
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    unnamed_ = fd_ >= 0;
    if (!unnamed_) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) fail(errno);
        // No unnamed files here: a named one, and the leftovers of killed writers go.
        removeStaleTemporaries(folder);
        std::string pattern = temporaryName(folder).string() + "-XXXXXX";
        fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ < 0) fail(errno);
        temp_ = pattern;
    }
    // The permissions a plain create would give: the replaced file's, or the
    // usual ones less the umask.
    struct stat existing {};
    mode_t mode;
    if (::stat(resolved_.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd_, mode) != 0) {
        const int error = errno;  // the destructor does not run for a failed constructor
        ::close(fd_);
        if (!temp_.empty()) ::unlink(temp_.c_str());
        throw FileError(kWriteAction, target_, error);
    }
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFile::fail(int errnoValue) {
    throw FileError(kWriteAction, target_, errnoValue);
}

void AtomicFile::write(std::span<const std::byte> bytes) {
    writeAt(end_, bytes.data(), bytes.size());
}

void AtomicFile::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) fail(ENOSPC);
        p += n;
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    end_ = std::max(end_, offset);
}

void AtomicFile::writeGathered(std::span<const Piece> pieces) {
    std::vector<iovec> vectors(pieces.size());
    std::transform(pieces.begin(), pieces.end(), vectors.begin(), [](const Piece& piece) {
        return iovec{const_cast<void*>(piece.data), piece.size};
    });
    std::size_t first = 0;
    while (first < vectors.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(vectors.size() - first, IOV_MAX));
        const ssize_t n = ::pwritev(fd_, vectors.data() + first, count, static_cast<off_t>(end_));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) fail(ENOSPC);
        end_ += static_cast<std::uint64_t>(n);
        // Step past what was written; a partial write leaves the rest of a piece.
        std::size_t left = static_cast<std::size_t>(n);
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

void AtomicFile::copyFrom(int sourceFd, std::uint64_t from, std::size_t size) {
    auto offset = static_cast<off_t>(from);
    while (size > 0) {
        auto out = static_cast<off_t>(end_);
        const ssize_t n = ::copy_file_range(sourceFd, &offset, fd_, &out, size, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL) {
                // Not supported between these files: copy through a buffer.
                std::vector<char> buffer(std::min<std::size_t>(size, 1 << 20));
                while (size > 0) {
                    const ssize_t r = ::pread(sourceFd, buffer.data(), std::min(size, buffer.size()), offset);
                    if (r < 0 && errno == EINTR) continue;
                    if (r <= 0) fail(r < 0 ? errno : EIO);
                    writeAt(end_, buffer.data(), static_cast<std::size_t>(r));
                    offset += r;
                    size -= static_cast<std::size_t>(r);
                }
                return;
            }
            fail(errno);
        }
        if (n == 0) fail(EIO);  // the source ended early
        end_ = static_cast<std::uint64_t>(out);
        size -= static_cast<std::size_t>(n);
    }
}

void AtomicFile::reserve(std::uint64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) fail(errno);
}

// Gives the unnamed file a name: the target's own when there is no target
// yet, a temporary one otherwise (a link never replaces a name).
void AtomicFile::linkTemporary() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    const auto link = [&](const std::filesystem::path& name) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno == ENOENT && ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;  // no /proc
        if (errno != EEXIST) fail(errno);
        return false;
    };
    struct stat existing {};
    if (::lstat(resolved_.c_str(), &existing) != 0 && errno == ENOENT && link(resolved_)) return;
    for (;;) {
        std::filesystem::path name = temporaryName(folderOf(resolved_));
        if (link(name)) {
            temp_ = std::move(name);
            return;
        }
    }
}

void AtomicFile::commit() {
    if (sync_ == Sync::Durable && ::fsync(fd_) != 0) fail(errno);
    if (unnamed_) linkTemporary();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(errno);
    if (!temp_.empty()) putInPlace();
    if (sync_ == Sync::Durable) syncFolder(folderOf(resolved_));
}

void AtomicFile::putInPlace() {
    // An unnamed file has a name only for a moment; a writer killed in that
    // moment leaves it, and the next writer in the folder removes it.
    removeStaleTemporaries(folderOf(resolved_));
    if (sync_ == Sync::Fast &&
        ::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, resolved_.c_str(), RENAME_EXCHANGE) == 0) {
        // Swapped: the old file now has the temporary name. Renaming over a
        // file makes ext4 write the new one out first, which costs more than
        // the rest of a composition; a picture we rewrite on every use needs
        // only the swap to be seen whole.
        struct stat old {};
        if (::lstat(temp_.c_str(), &old) == 0 && !S_ISREG(old.st_mode)) {
            // Something else took the target's place since we looked: give it back.
            ::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, resolved_.c_str(), RENAME_EXCHANGE);
            throw FileError(kWriteAction, target_, describeNotRegularFile(fileTypeOfMode(old.st_mode)));
        }
        ::unlink(temp_.c_str());
        temp_.clear();
        return;
    }
    struct stat existing {};
    if (::lstat(resolved_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        throw FileError(kWriteAction, target_, describeNotRegularFile(fileTypeOfMode(existing.st_mode)));
    if (::rename(temp_.c_str(), resolved_.c_str()) != 0) fail(errno);
    temp_.clear();
}

}  // namespace tavlo
