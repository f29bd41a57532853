#include "ProgramFolderLock.h"

#include <windows.h>

#include <cstdint>
#include <cwctype>
#include <string>

namespace tavlo {

namespace {

// Named objects belong to the session and go with their last handle; the
// name stands for the folder, its case folded as the file system does.
std::wstring mutexName(const std::filesystem::path& folder) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    const std::filesystem::path normal = std::filesystem::absolute(folder).lexically_normal();
    for (const wchar_t c : normal.native()) {
        hash ^= static_cast<std::uint64_t>(std::towlower(c));
        hash *= 1099511628211ull;
    }
    return L"Local\\tavlo-folder-" + std::to_wstring(hash);
}

}  // namespace

ProgramFolderLock::ProgramFolderLock(const std::filesystem::path& folder) {
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName(folder).c_str());
    if (!mutex) return;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        state_ = State::HeldElsewhere;
        return;
    }
    state_ = State::Held;
    handle_ = mutex;
}

ProgramFolderLock::~ProgramFolderLock() {
    if (state_ == State::Held) CloseHandle(static_cast<HANDLE>(handle_));
}

}  // namespace tavlo
