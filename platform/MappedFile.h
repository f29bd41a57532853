#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tavlo {

// A whole regular file mapped read-only. The mapping stays valid while the
// object lives, even if the file is replaced by a rename meanwhile. Opening
// never waits: a pipe, device, socket or folder is refused (FileError).
//
// Another program may cut the file short while we read it. Reading the lost
// part then gives zeros instead of ending the process; checkUnchanged() tells
// afterwards whether the bytes read were the file's.
class MappedFile {
public:
    explicit MappedFile(const std::filesystem::path& path);  // throws FileError
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }

    // Throws FileError when the file was cut or resized since it was opened.
    void checkUnchanged() const;

private:
    void release();

    std::filesystem::path path_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    int fd_ = -1;
    int guard_ = -1;                  // the mapping's place among the guarded ones
    std::vector<std::uint8_t> copy_;  // the bytes, when no guard was free to map them
};

}  // namespace tavlo
