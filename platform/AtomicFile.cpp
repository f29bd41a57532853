#include "AtomicFile.h"

#include "FileError.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace tavlo {

namespace {

constexpr const char* kWriteAction = "写入文件";

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target, Sync sync) : target_(std::move(target)), sync_(sync) {
    std::string pattern = target_.string() + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) throw FileError(kWriteAction, target_, errno);
    temp_ = name.data();
    // The permissions a plain create would give: the replaced file's, or the
    // usual ones less the umask (mkstemp makes the file private).
    struct stat existing {};
    mode_t mode;
    if (::stat(target_.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd_, mode) != 0) {
        const int error = errno;  // the destructor does not run for a failed constructor
        ::close(fd_);
        ::unlink(temp_.c_str());
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

void AtomicFile::writeAt(off_t offset, const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd_, p, size, offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) fail(ENOSPC);
        p += n;
        offset += n;
        size -= static_cast<std::size_t>(n);
    }
    end_ = std::max(end_, offset);
}

void AtomicFile::writeGathered(std::span<iovec> pieces) {
    std::size_t first = 0;
    while (first < pieces.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(pieces.size() - first, IOV_MAX));
        const ssize_t n = ::pwritev(fd_, pieces.data() + first, count, end_);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) fail(ENOSPC);
        end_ += n;
        // Step past what was written; a partial write leaves the rest of a piece.
        std::size_t left = static_cast<std::size_t>(n);
        while (first < pieces.size() && left >= pieces[first].iov_len) {
            left -= pieces[first].iov_len;
            ++first;
        }
        if (left > 0) {
            pieces[first].iov_base = static_cast<char*>(pieces[first].iov_base) + left;
            pieces[first].iov_len -= left;
        }
    }
}

void AtomicFile::copyFrom(int sourceFd, off_t offset, std::size_t size) {
    while (size > 0) {
        off_t out = end_;
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
        end_ = out;
        size -= static_cast<std::size_t>(n);
    }
}

void AtomicFile::reserve(off_t size) {
    if (::ftruncate(fd_, size) != 0) fail(errno);
}

void AtomicFile::commit() {
    if (sync_ == Sync::Durable && ::fsync(fd_) != 0) fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(errno);
    if (sync_ == Sync::Fast && ::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) == 0) {
        // Swapped: the old file now has the temporary name. Renaming over a
        // file makes ext4 write the new one out first, which costs more than
        // the rest of a composition; a picture we rewrite on every use needs
        // only the swap to be seen whole.
        ::unlink(temp_.c_str());
        temp_.clear();
        return;
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) fail(errno);
    temp_.clear();
}

}  // namespace tavlo
