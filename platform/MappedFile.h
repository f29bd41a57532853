#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tavlo {

// A whole regular file, readable as bytes while the object lives: mapped
// read-only where a cut file can be survived (POSIX), read in otherwise
// (Windows). The bytes stay valid even if the file is replaced by a rename
// meanwhile. Opening never waits: a pipe, device, socket or folder is
// refused (FileError).
//
// Another program may cut or rewrite the file while we read it. Reading a
// lost part then gives zeros instead of ending the process; checkUnchanged()
// tells afterwards whether the bytes read were the file's.
class MappedFile {
public:
    explicit MappedFile(const std::filesystem::path& path);  // throws FileError
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
    const std::filesystem::path& path() const { return path_; }

    // Throws FileError when the file was cut, resized or written since it was
    // opened. Costs one status query.
    void checkUnchanged() const;

private:
    friend class AtomicFile;  // copies straight from the open file where it can

    // What tells a change: the size, the last write's time and the file's
    // identity, as the system reports them for the open file.
    struct Stamp {
        std::uint64_t size = 0;
        std::int64_t modified = 0;
        std::uint64_t id = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stampNow() const;  // throws FileError
    void release();

    std::filesystem::path path_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::intptr_t file_ = -1;  // the open file: a descriptor or a handle
    int guard_ = -1;           // the mapping's place among the guarded ones (POSIX)
    Stamp opened_;
    std::vector<std::uint8_t> copy_;  // the bytes, when they were read instead of mapped
};

}  // namespace tavlo
