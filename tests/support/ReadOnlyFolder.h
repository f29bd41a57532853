#pragma once
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tavlo::test {

// A folder no one can create files in while this lives: without write
// permission for a user, and immutable for root (who ignores permissions;
// the flag needs a file system that has it). writable() tells whether it
// worked; the folder is writable again afterwards.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
        namespace fs = std::filesystem;
        fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        if (::geteuid() == 0) setImmutable(true);
    }
    ~ReadOnlyFolder() {
        if (::geteuid() == 0) setImmutable(false);
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // Whether a file can still be made in the folder.
    bool writable() const {
        const auto probe = folder_ / ".probe";
        const bool made = std::ofstream(probe).good();
        std::error_code ignored;
        std::filesystem::remove(probe, ignored);
        return made;
    }

private:
    void setImmutable(bool on) const {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            (void)::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }

    std::filesystem::path folder_;
};

}  // namespace tavlo::test
