#pragma once
#include <filesystem>

namespace tavlo {

// Held by the one copy of the program that runs on a program folder. The
// system lets go of it when that copy ends, however it ends (a crash or a
// kill included), so no lock is ever left behind.
class ProgramFolderLock {
public:
    enum class State {
        Held,           // this copy holds it
        HeldElsewhere,  // another copy running on the folder holds it
        Unavailable     // the system cannot lock the folder (a file system without locks)
    };

    explicit ProgramFolderLock(const std::filesystem::path& folder);
    ~ProgramFolderLock();
    ProgramFolderLock(const ProgramFolderLock&) = delete;
    ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

    State state() const { return state_; }

private:
    State state_ = State::Unavailable;
    // The system's handle that carries the lock (ProgramFolderLock_*.cpp).
    void* handle_ = nullptr;
};

}  // namespace tavlo
