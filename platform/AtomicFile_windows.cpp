#include "AtomicFile.h"
#include "FileError.h"
#include "MappedFile.h"
#include "WindowsError.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavlo {

namespace {

constexpr const char* kWriteAction = kWriteFileAction;

// As on POSIX: short temporary names that carry the writer's process id, so
// that those of a killed writer can be told from live ones.
constexpr std::wstring_view kTempPrefix = L".tavlo-tmp-";

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::filesystem::path temporaryName(const std::filesystem::path& folder) {
    static std::atomic<unsigned> counter{0};
    return folder /
           (std::wstring(kTempPrefix) + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++));
}

bool processIsRunning(DWORD pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, so running
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

// Removes the temporaries that writers killed before they finished left in
// `folder`; those of processes still running are theirs.
void removeStaleTemporaries(const std::filesystem::path& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder / (std::wstring(kTempPrefix) + L"*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring_view name = found.cFileName;
        const std::wstring_view rest = name.substr(std::min(name.size(), kTempPrefix.size()));
        const std::string digits(rest.begin(), std::find(rest.begin(), rest.end(), L'-'));
        DWORD pid = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
        if (error != std::errc{} || end != digits.data() + digits.size() || digits.size() == rest.size() || pid == 0)
            continue;
        if (!processIsRunning(pid)) DeleteFileW((folder / std::wstring(name)).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

struct AtomicFile::Native {
    const std::filesystem::path& target;  // as given, for messages
    std::filesystem::path resolved;       // the file replaced: the target, links followed
    std::filesystem::path temp;           // the new file's temporary name
    Sync sync;
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::uint64_t end = 0;

    Native(const std::filesystem::path& target, Sync sync) : target(target), resolved(target), sync(sync) {}
    ~Native() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        if (!temp.empty()) DeleteFileW(temp.c_str());
    }

    [[noreturn]] void fail() const { throw FileError(kWriteAction, target, describeLastWindowsError()); }
    void refuseWhatIsNotAFile() const;
    void resolve();
    void openTemporary();
};

// Only a regular file is replaced: a folder, or a device or pipe name.
void AtomicFile::Native::refuseWhatIsNotAFile() const {
    using std::filesystem::file_type;
    const DWORD attributes = GetFileAttributesW(resolved.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError(kWriteAction, target, describeNotRegularFile(file_type::directory));
    // Device names ("NUL", "COM1") open without being files on the disk.
    const HANDLE existing = CreateFileW(resolved.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (existing == INVALID_HANDLE_VALUE) return;  // nothing there yet, or the rename reports what is wrong
    const DWORD type = GetFileType(existing);
    CloseHandle(existing);
    if (type != FILE_TYPE_DISK)
        throw FileError(kWriteAction, target,
                        describeNotRegularFile(type == FILE_TYPE_PIPE ? file_type::fifo : file_type::character));
}

// A symbolic link is followed, and the file it names is replaced.
void AtomicFile::Native::resolve() {
    const DWORD attributes = GetFileAttributesW(resolved.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        const HANDLE link = CreateFileW(resolved.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (link != INVALID_HANDLE_VALUE) {
            std::wstring name(MAX_PATH, L'\0');
            DWORD n = GetFinalPathNameByHandleW(link, name.data(), static_cast<DWORD>(name.size()), 0);
            if (n >= name.size()) {
                name.resize(n + 1);
                n = GetFinalPathNameByHandleW(link, name.data(), static_cast<DWORD>(name.size()), 0);
            }
            CloseHandle(link);
            if (n > 0 && n < name.size()) resolved = name.substr(0, n);
        }
    }
    refuseWhatIsNotAFile();
}

void AtomicFile::Native::openTemporary() {
    const std::filesystem::path folder = folderOf(resolved);
    removeStaleTemporaries(folder);
    for (;;) {
        std::filesystem::path name = temporaryName(folder);
        handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            temp = std::move(name);
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) fail();
    }
}

AtomicFile::AtomicFile(std::filesystem::path target, Sync sync, Links links)
    : target_(std::move(target)), native_(std::make_unique<Native>(target_, sync)) {
    // Replacing a link by name renames over the link itself.
    if (links == Links::Follow) native_->resolve();
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
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD done = 0;
        if (!WriteFile(n.handle, p, chunk, &done, &at)) n.fail();
        if (done == 0) throw FileError(kWriteAction, n.target, describeWindowsError(ERROR_DISK_FULL));
        p += done;
        offset += done;
        size -= done;
    }
    n.end = std::max(n.end, offset);
}

void AtomicFile::writeGathered(std::span<const Piece> pieces) {
    for (const Piece& piece : pieces) writeAt(native_->end, piece.data, piece.size);
}

void AtomicFile::copyFrom(const MappedFile& source, std::uint64_t offset, std::size_t size) {
    const auto bytes = source.bytes();
    if (offset > bytes.size() || size > bytes.size() - offset)
        throw FileError(kReadFileAction, source.path(), describeChangedWhileRead());  // the source ended early
    writeAt(native_->end, bytes.data() + offset, size);
}

void AtomicFile::reserve(std::uint64_t size) {
    Native& n = *native_;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(n.handle, end, nullptr, FILE_BEGIN) || !SetEndOfFile(n.handle)) n.fail();
}

void AtomicFile::commit() {
    Native& n = *native_;
    if (n.sync == Sync::Durable && !FlushFileBuffers(n.handle)) n.fail();
    const HANDLE handle = std::exchange(n.handle, INVALID_HANDLE_VALUE);
    if (!CloseHandle(handle)) n.fail();
    n.refuseWhatIsNotAFile();  // something else may have taken the target's place meanwhile
    // Write-through makes the rename itself reach the disk before we return,
    // as the folder's fsync does on POSIX.
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (n.sync == Sync::Durable ? MOVEFILE_WRITE_THROUGH : 0);
    if (!MoveFileExW(n.temp.c_str(), n.resolved.c_str(), flags)) n.fail();
    n.temp.clear();
}

}  // namespace tavlo
