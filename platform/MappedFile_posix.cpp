#include "MappedFile.h"

#include "FileError.h"
#include "PosixFileType.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <mutex>

namespace tavlo {

namespace {

constexpr const char* kReadAction = kReadFileAction;

// A file cut short under a mapping makes reading its lost pages raise SIGBUS.
// The handler puts a page of zeros in place of the lost one and marks the
// mapping, so the reader finishes and the caller reports the change. The
// table is process-wide because the signal is: the handler cannot reach any
// object.
struct Guard {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> damaged{false};
};
std::array<Guard, 128> guards;
struct sigaction previousHandler {};
std::uintptr_t pageSize = 4096;

void onBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Guard& guard : guards) {
        const std::uintptr_t begin = guard.begin.load(std::memory_order_acquire);
        if (begin == 0 || address < begin || address >= guard.end.load(std::memory_order_acquire)) continue;
        void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
        if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            guard.damaged.store(true, std::memory_order_release);
            return;
        }
    }
    // Not one of ours: as if we were not here.
    if ((previousHandler.sa_flags & SA_SIGINFO) && previousHandler.sa_sigaction) {
        previousHandler.sa_sigaction(signal, info, context);
    } else if (previousHandler.sa_handler != SIG_DFL && previousHandler.sa_handler != SIG_IGN) {
        previousHandler.sa_handler(signal);
    } else {
        ::signal(signal, SIG_DFL);  // the access faults again and ends the process
    }
}

void installHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousHandler);
    });
}

int takeGuard(const void* data, std::size_t size) {
    for (std::size_t i = 0; i < guards.size(); ++i) {
        std::uintptr_t free = 0;
        Guard& guard = guards[i];
        // Reserve the slot with a begin no address can match, then publish it.
        if (!guard.begin.compare_exchange_strong(free, UINTPTR_MAX)) continue;
        guard.damaged.store(false);
        guard.end.store(reinterpret_cast<std::uintptr_t>(data) + size, std::memory_order_release);
        guard.begin.store(reinterpret_cast<std::uintptr_t>(data), std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

MappedFile::MappedFile(const std::filesystem::path& path) : path_(path) {
    // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) throw FileError(kReadAction, path, errno);
    file_ = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        release();
        throw FileError(kReadAction, path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        release();
        throw FileError(kReadAction, path, describeNotRegularFile(fileTypeOfMode(info.st_mode)));
    }
    try {
        opened_ = stampNow();
    } catch (...) {
        release();
        throw;
    }
    size_ = static_cast<std::size_t>(opened_.size);
    if (size_ == 0) return;
    installHandler();
    void* map = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED) {
        const int error = errno;
        release();
        throw FileError(kReadAction, path, error);
    }
    guard_ = takeGuard(map, size_);
    if (guard_ >= 0) {
        data_ = static_cast<const std::uint8_t*>(map);
        return;
    }
    // Every guard in use: read the file instead, which no cut can hurt.
    ::munmap(map, size_);
    copy_.resize(size_);
    std::size_t done = 0;
    while (done < size_) {
        const ssize_t n = ::pread(fd, copy_.data() + done, size_ - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            release();
            throw FileError(kReadAction, path, error);
        }
        done += static_cast<std::size_t>(n);
    }
    data_ = copy_.data();
}

MappedFile::Stamp MappedFile::stampNow() const {
    struct stat info {};
    if (::fstat(static_cast<int>(file_), &info) != 0) throw FileError(kReadAction, path_, errno);
    return {static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(info.st_ino)};
}

void MappedFile::checkUnchanged() const {
    // A cut shows in the guard; a rewrite in place of the same size only in
    // the time of the last write.
    bool changed = guard_ >= 0 && guards[static_cast<std::size_t>(guard_)].damaged.load(std::memory_order_acquire);
    if (!changed && file_ >= 0) changed = stampNow() != opened_;
    if (changed) throw FileError(kReadAction, path_, describeChangedWhileRead());
}

void MappedFile::release() {
    if (guard_ >= 0) {
        Guard& guard = guards[static_cast<std::size_t>(guard_)];
        // Closed before the pages go (an empty range first, then the slot freed),
        // so that no fault lands in a stale guard.
        guard.end.store(0, std::memory_order_release);
        guard.begin.store(0, std::memory_order_release);
        guard_ = -1;
    }
    if (data_ && copy_.empty()) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    if (file_ >= 0) ::close(static_cast<int>(file_));
    data_ = nullptr;
    size_ = 0;
    file_ = -1;
    copy_.clear();
}

}  // namespace tavlo
