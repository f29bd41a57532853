#include "PrivateFile.h"

#include "FileError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace tavlo {

namespace {

constexpr mode_t kGroupAndOthers = S_IRWXG | S_IRWXO;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

void writeAll(int fd, std::string_view bytes, const std::filesystem::path& file) {
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) throw FileError(kWriteFileAction, file, done < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
}

}  // namespace

bool usePrivateFolder(const std::filesystem::path& folder) {
    std::error_code ignored;
    if (folder.has_parent_path()) std::filesystem::create_directories(folder.parent_path(), ignored);
    ::mkdir(folder.c_str(), 0700);
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    return (info.st_mode & kGroupAndOthers) == 0 || ::fchmod(fd.get(), info.st_mode & ~kGroupAndOthers & 07777) == 0;
}

void writePrivateFile(const std::filesystem::path& file, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::filesystem::path temp;
    int opened = -1;
    do {
        temp = folder / (".tavlo-private-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        opened = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (opened < 0 && errno == EEXIST);
    if (opened < 0) throw FileError(kWriteFileAction, file, errno);
    Descriptor fd(opened);
    try {
        // The umask may narrow the rights further, never widen them; 0600 whatever it is.
        if (::fchmod(fd.get(), 0600) != 0) throw FileError(kWriteFileAction, file, errno);
        writeAll(fd.get(), bytes, file);
        if (::fsync(fd.get()) != 0) throw FileError(kWriteFileAction, file, errno);
        if (::close(fd.release()) != 0) throw FileError(kWriteFileAction, file, errno);
        if (::rename(temp.c_str(), file.c_str()) != 0) throw FileError(kWriteFileAction, file, errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    const Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() >= 0) ::fsync(folderFd.get());
}

std::optional<std::string> readOwnFile(const std::filesystem::path& file) {
    // Not blocking: a pipe planted at the name must not hold the program up.
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t done = ::read(fd.get(), buffer, sizeof buffer);
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) return std::nullopt;
        if (done == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(done));
    }
}

}  // namespace tavlo
