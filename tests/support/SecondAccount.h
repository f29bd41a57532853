#pragma once
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace tavlo::test {

// Another account on this machine, to see what it can read of the user's
// files. Running as root, the tests make it with useradd (and remove it
// again if they made it); elsewhere there is none, and available() says so.
class SecondAccount {
public:
    static constexpr const char* kName = "tavlo-second";

    SecondAccount() {
        if (::geteuid() != 0) return;
        if (!lookUp()) {
            // Two test programs may make it at once: the loser finds it made.
            const std::string make = std::string("useradd --system --no-create-home --shell /usr/sbin/nologin ") +
                                     kName + " >/dev/null 2>&1";
            made_ = std::system(make.c_str()) == 0;
            lookUp();
        }
    }
    ~SecondAccount() {
        if (!made_) return;
        [[maybe_unused]] const int removed =
            std::system((std::string("userdel ") + kName + " >/dev/null 2>&1").c_str());
    }
    SecondAccount(const SecondAccount&) = delete;
    SecondAccount& operator=(const SecondAccount&) = delete;

    bool available() const { return uid_ != 0; }
    uid_t uid() const { return uid_; }
    gid_t gid() const { return gid_; }

    // Whether the account can open `path` for reading (a folder: list it).
    // Only a refusal for want of rights counts as no; anything else throws.
    bool canRead(const std::filesystem::path& path) const {
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid_) != 0 || ::setuid(uid_) != 0) ::_exit(3);
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            ::_exit(fd >= 0 ? 0 : errno == EACCES ? 1 : 2);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
            throw std::runtime_error("the second account could not try to read " + path.string());
        return WEXITSTATUS(status) == 0;
    }

private:
    bool lookUp() {
        const passwd* entry = ::getpwnam(kName);
        if (!entry) return false;
        uid_ = entry->pw_uid;
        gid_ = entry->pw_gid;
        return true;
    }

    uid_t uid_ = 0;
    gid_t gid_ = 0;
    bool made_ = false;
};

}  // namespace tavlo::test
