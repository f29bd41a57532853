#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace tavlo {

class MappedFile;

// Writes a file beside its target and puts it in the target's place on
// commit(), so that readers (and the user after a crash or a full disk) see
// either the old file or the whole new one, never half. Where the system
// offers it the new file has no name until commit(), so a process killed
// while writing leaves nothing behind. Destroying it without commit() drops
// the new file.
//
// Only a regular file is replaced: a target that is a folder, a device, a
// pipe or a socket is refused (FileError) and left as it is. A symbolic link
// is followed and the file it names is replaced, as editors do; where others
// can plant links (a folder the user chose, a shared one) Links::Replace
// puts the new file in the link's own place and leaves what it names alone.
class AtomicFile {
public:
    enum class Sync {
        Durable,  // flushed to disk before it takes the target's place: files
                  // nothing can make again (settings, the background library)
        Fast      // not flushed, swapped into place: pictures the program makes
                  // from a source it keeps (a composite, a converted copy); after
                  // a power loss such a file may be empty until made again
    };

    enum class Links { Follow, Replace };

    // One piece of a gathered write.
    struct Piece {
        const void* data;
        std::size_t size;
    };

    AtomicFile(std::filesystem::path target, Sync sync, Links links = Links::Follow);  // throws FileError
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::span<const std::byte> bytes);
    void write(const void* data, std::size_t size) { write({static_cast<const std::byte*>(data), size}); }
    void writeAt(std::uint64_t offset, const void* data, std::size_t size);
    void writeGathered(std::span<const Piece> pieces);
    // Copies [offset, offset + size) of an open file to the current end.
    void copyFrom(const MappedFile& source, std::uint64_t offset, std::size_t size);
    // Sets the final size up front, so that rows can be written at their places.
    void reserve(std::uint64_t size);

    void commit();

    const std::filesystem::path& target() const { return target_; }

private:
    // The new file while it is written; each system has its own (AtomicFile_*.cpp).
    struct Native;

    std::filesystem::path target_;  // as given, for messages
    std::unique_ptr<Native> native_;
};

}  // namespace tavlo
