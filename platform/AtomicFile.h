#pragma once
#include <sys/types.h>
#include <sys/uio.h>

#include <cstddef>
#include <filesystem>
#include <span>

namespace tavlo {

// Writes a file under a temporary name in the target's folder and renames it
// over the target on commit(), so that readers (and the user after a crash or
// a full disk) see either the old file or the whole new one, never half.
// Destroying it without commit() removes the temporary file.
class AtomicFile {
public:
    enum class Sync {
        Durable,  // fsync before the rename: settings files that must survive a crash
        Fast      // no fsync, swapped into place: pictures the program makes from
                  // a source it keeps (a composite, a converted copy); after a
                  // power loss such a file may be empty until made again
    };

    AtomicFile(std::filesystem::path target, Sync sync);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::span<const std::byte> bytes);
    void write(const void* data, std::size_t size) { write({static_cast<const std::byte*>(data), size}); }
    void writeAt(off_t offset, const void* data, std::size_t size);
    void writeGathered(std::span<iovec> pieces);
    // Copies [offset, offset + size) of another open file to the current end.
    void copyFrom(int sourceFd, off_t offset, std::size_t size);
    // Sets the final size up front, so that rows can be written at their places.
    void reserve(off_t size);

    void commit();

    const std::filesystem::path& target() const { return target_; }

private:
    [[noreturn]] void fail(int errnoValue);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    Sync sync_;
    int fd_ = -1;
    off_t end_ = 0;
};

}  // namespace tavlo
