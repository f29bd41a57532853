#include "SwayWallpaper.h"
#include "WallpaperTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tavlo::wallpaper {
namespace {

constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::uint32_t kRunCommand = 0;
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

// The reply is a list with one {"success": bool, "error": text} per command.
void checkReply(const std::string& reply) {
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(reply));
    if (!document.isArray() || document.array().isEmpty())
        fail(texts::swayReplyUnknown(), "unexpected IPC reply: " + reply);
    for (const QJsonValue& result : document.array()) {
        const QJsonObject object = result.toObject();
        if (!object.value(QStringLiteral("success")).toBool())
            fail(texts::swayRefused(),
                 "the compositor refused the wallpaper: " + object.value(QStringLiteral("error"))
                                                                .toString(QStringLiteral("no reason given"))
                                                                .simplified()
                                                                .toStdString());
    }
}

// Sway splits commands at ; and , and arguments at blanks, then expands the
// file name like a shell. A backslash keeps a character plain through all of
// that, except that two escaped separators in a row split the command: those
// go in double quotes, which every stage respects too. Control characters
// cannot pass through the expansion.
std::string escapedPath(const std::string& path) {
    std::string escaped;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            fail(texts::pathHasControlCharacter(), "the picture path contains a control character");
        if (byte >= 0x80 || std::isalnum(byte) || c == '/' || c == '.' || c == '_' || c == '-')
            escaped += c;
        else if (c == ';' || c == ',')
            escaped += std::string("\"") + c + '"';
        else
            escaped += std::string("\\") + c;
    }
    return escaped;
}

}  // namespace

std::string SwayWallpaper::command(const std::filesystem::path& path) {
    return "output * bg " + escapedPath(std::filesystem::absolute(path).string()) + " stretch";
}

void SwayWallpaper::SetWallpaper(const std::filesystem::path& path) {
    if (socketPath_.empty()) fail(texts::noSwaySocket(), "SWAYSOCK is not set, so the compositor cannot be reached");
    // Every bg command makes sway start a new background client, which reads
    // the file again: the same path shows the new picture.
    Socket socket(socketPath_);
    socket.writeAll(message(kRunCommand, command(path)));
    checkReply(readReply(socket));
}

}  // namespace tavlo::wallpaper
