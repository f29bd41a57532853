#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace tavlo {

// A whole file mapped read-only. The mapping stays valid while the object
// lives, even if the file is replaced by a rename meanwhile.
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

private:
    void release();

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    int fd_ = -1;
};

}  // namespace tavlo
