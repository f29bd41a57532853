#include "ProgramFolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace tavlo {

// The folder itself carries the lock: nothing is written, so a read-only
// folder can be locked too. The descriptor is closed on exec, so that no
// program started from here (a wallpaper helper that outlives us) keeps it.
ProgramFolderLock::ProgramFolderLock(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        state_ = State::Held;
        handle_ = reinterpret_cast<void*>(static_cast<std::intptr_t>(fd));
        return;
    }
    if (errno == EWOULDBLOCK) state_ = State::HeldElsewhere;
    ::close(fd);
}

ProgramFolderLock::~ProgramFolderLock() {
    if (state_ == State::Held) ::close(static_cast<int>(reinterpret_cast<std::intptr_t>(handle_)));
}

}  // namespace tavlo
