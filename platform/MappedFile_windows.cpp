#include "FileError.h"
#include "MappedFile.h"
#include "WindowsError.h"

#include <windows.h>

#include <algorithm>

namespace tavlo {

// Windows reads the file in instead of mapping it. A view whose file goes
// away (a network share dropped, a stick pulled) raises an in-page error on
// the read, and unlike SIGBUS on POSIX there is no page to put in its place:
// a view is unmapped whole, and GCC has no structured exception handling to
// end the read cleanly. A read fails with an error code instead. The price is
// the file's size in memory, never more than the picture decoded from it.

namespace {

constexpr const char* kReadAction = kReadFileAction;

HANDLE handleOf(std::intptr_t file) {
    return reinterpret_cast<HANDLE>(file);
}

}  // namespace

MappedFile::MappedFile(const std::filesystem::path& path) : path_(path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError(kReadAction, path, describeNotRegularFile(std::filesystem::file_type::directory));
    // Others may go on reading, writing, renaming or deleting it: a change is
    // seen by checkUnchanged(), as on POSIX.
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw FileError(kReadAction, path, describeLastWindowsError());
    file_ = reinterpret_cast<std::intptr_t>(handle);
    const DWORD type = GetFileType(handle);
    if (type != FILE_TYPE_DISK) {
        release();
        using std::filesystem::file_type;
        throw FileError(kReadAction, path,
                        describeNotRegularFile(type == FILE_TYPE_PIPE ? file_type::fifo : file_type::character));
    }
    try {
        opened_ = stampNow();
        size_ = static_cast<std::size_t>(opened_.size);
        copy_.resize(size_);
        std::size_t done = 0;
        while (done < size_) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size_ - done, 1u << 30));
            DWORD n = 0;
            if (!ReadFile(handle, copy_.data() + done, chunk, &n, nullptr))
                throw FileError(kReadAction, path, describeLastWindowsError());
            if (n == 0) throw FileError(kReadAction, path, describeChangedWhileRead());  // cut short meanwhile
            done += n;
        }
    } catch (...) {
        release();
        throw;
    }
    data_ = copy_.data();
}

MappedFile::Stamp MappedFile::stampNow() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handleOf(file_), &info))
        throw FileError(kReadAction, path_, describeLastWindowsError());
    return {(static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
            static_cast<std::int64_t>((static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                      info.ftLastWriteTime.dwLowDateTime),
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

void MappedFile::checkUnchanged() const {
    if (file_ != -1 && stampNow() != opened_) throw FileError(kReadAction, path_, describeChangedWhileRead());
}

void MappedFile::release() {
    if (file_ != -1) CloseHandle(handleOf(file_));
    file_ = -1;
    data_ = nullptr;
    size_ = 0;
    copy_.clear();
}

}  // namespace tavlo
