#include "SwayIpc.h"
#include "WallpaperBackend.h"
#include "WallpaperTexts.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tavlo::wallpaper::sway {
namespace {

constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::size_t kHeaderSize = sizeof(kMagic) + 2 * sizeof(std::uint32_t);
constexpr std::uint32_t kMaxReply = 1 << 20;
constexpr int kTimeoutSeconds = 20;

[[noreturn]] void fail(const std::string& cause, const std::string& what) {
    throw WallpaperError(cause, "sway: " + what);
}

[[noreturn]] void failErrno(const std::string& cause, const std::string& what) {
    fail(cause, what + ": " + std::strerror(errno));
}

class Socket {
public:
    explicit Socket(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof(address.sun_path))
            fail(texts::swaySocketPathTooLong(), "the IPC socket path is too long: " + path);
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0) failErrno(texts::swayUnreachable(), "cannot create a socket");
        // A compositor that never answers must not hang the command.
        const timeval timeout{kTimeoutSeconds, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
            const int cause = errno;
            ::close(fd_);
            errno = cause;
            failErrno(texts::swayUnreachable(), "cannot connect to the IPC socket " + path);
        }
    }
    ~Socket() { ::close(fd_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    void writeAll(const std::string& bytes) {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) failErrno(texts::swayTalkBroken(), "cannot send the IPC command");
            done += static_cast<std::size_t>(n);
        }
    }

    std::vector<char> readExactly(std::size_t size) {
        std::vector<char> bytes(size);
        for (std::size_t done = 0; done < size;) {
            const ssize_t n = ::recv(fd_, bytes.data() + done, size - done, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) failErrno(texts::swayTalkBroken(), "cannot read the IPC reply");
            if (n == 0) fail(texts::swayTalkBroken(), "the compositor closed the IPC socket without replying");
            done += static_cast<std::size_t>(n);
        }
        return bytes;
    }

private:
    int fd_ = -1;
};

std::string message(std::uint32_t type, const std::string& payload) {
    // Magic, payload length and type (native byte order), then the payload.
    const auto length = static_cast<std::uint32_t>(payload.size());
    std::string bytes(kMagic, sizeof(kMagic));
    bytes.append(reinterpret_cast<const char*>(&length), sizeof(length));
    bytes.append(reinterpret_cast<const char*>(&type), sizeof(type));
    return bytes + payload;
}

std::string readReply(Socket& socket) {
    const std::vector<char> header = socket.readExactly(kHeaderSize);
    if (std::memcmp(header.data(), kMagic, sizeof(kMagic)) != 0)
        fail(texts::swayReplyUnknown(), "the IPC reply does not start with i3-ipc");
    std::uint32_t length = 0;
    std::memcpy(&length, header.data() + sizeof(kMagic), sizeof(length));
    if (length > kMaxReply) fail(texts::swayReplyUnknown(), "the IPC reply is too long");
    const std::vector<char> body = socket.readExactly(length);
    return std::string(body.begin(), body.end());
}

}  // namespace

std::string request(const std::string& socketPath, std::uint32_t type, const std::string& payload) {
    if (socketPath.empty()) fail(texts::noSwaySocket(), "SWAYSOCK is not set, so the compositor cannot be reached");
    Socket socket(socketPath);
    socket.writeAll(message(type, payload));
    return readReply(socket);
}

}  // namespace tavlo::wallpaper::sway
