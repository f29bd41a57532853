#pragma once
#include <filesystem>
#include <fstream>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tavlo::test {

// A folder no one can create files in while this lives: without write
// permission. Root passes over permissions through CAP_DAC_OVERRIDE, so the
// calling thread sets that capability aside meanwhile (it stays permitted and
// is taken up again afterwards); root then meets the folder's mode as its
// owner does. Works on every file system, also where the immutable flag is
// not to be had. writable() tells whether it worked; the folder is writable
// again afterwards.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
        namespace fs = std::filesystem;
        fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        overrideDropped_ = setOverride(false);
    }
    ~ReadOnlyFolder() {
        if (overrideDropped_) setOverride(true);
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
    // Turns the calling thread's effective CAP_DAC_OVERRIDE on or off; true
    // when it changed.
    static bool setOverride(bool on) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
        if (::syscall(SYS_capget, &header, data) != 0) return false;
        const __u32 bit = 1u << CAP_DAC_OVERRIDE;
        if (on && !(data[0].permitted & bit)) return false;
        if (static_cast<bool>(data[0].effective & bit) == on) return false;
        data[0].effective = on ? (data[0].effective | bit) : (data[0].effective & ~bit);
        return ::syscall(SYS_capset, &header, data) == 0;
    }

    std::filesystem::path folder_;
    bool overrideDropped_ = false;
};

}  // namespace tavlo::test
