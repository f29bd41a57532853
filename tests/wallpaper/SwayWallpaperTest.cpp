// The sway backend against a listening IPC socket that records the message
// and gives the compositor's answer.
#include "SwayOutputs.h"
#include "SwayWallpaper.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>

namespace tavlo::wallpaper {
namespace {

// Accepts one connection, keeps the bytes of one message and sends `reply`.
class IpcSocket {
public:
    IpcSocket(const std::filesystem::path& path, std::string reply) : reply_(std::move(reply)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(listener_, 1);
        thread_ = std::thread([this] { serve(); });
    }
    ~IpcSocket() {
        if (thread_.joinable()) thread_.join();
        close(listener_);
    }

    // Joins the server, then gives what it received.
    const std::string& received() {
        if (thread_.joinable()) thread_.join();
        return received_;
    }

private:
    void serve() {
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0) return;
        readMessage(client);
        std::string answer = "i3-ipc";
        const std::uint32_t header[2] = {static_cast<std::uint32_t>(reply_.size()), 0};
        answer.append(reinterpret_cast<const char*>(header), sizeof(header));
        answer += reply_;
        (void)!write(client, answer.data(), answer.size());
        close(client);
    }

    void readMessage(int client) {
        char chunk[4096];
        while (received_.size() < 14 || received_.size() < 14 + payloadLength()) {
            const ssize_t n = read(client, chunk, sizeof(chunk));
            if (n <= 0) return;
            received_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    std::uint32_t payloadLength() const {
        std::uint32_t length;
        std::memcpy(&length, received_.data() + 6, sizeof(length));
        return length;
    }

    int listener_ = -1;
    std::string reply_;
    std::string received_;
    std::thread thread_;
};

std::string message(const std::string& payload) {
    std::string bytes = "i3-ipc";
    const std::uint32_t header[2] = {static_cast<std::uint32_t>(payload.size()), 0};  // 0 = run a command
    bytes.append(reinterpret_cast<const char*>(header), sizeof(header));
    return bytes + payload;
}

TEST(SwayWallpaper, SendsOneCommandWithThePathEscapedForSway) {
    test::TempFolder folder;
    const std::string socketPath = (folder / "ipc.sock").string();
    struct Case {
        std::string name, escaped;
    };
    // Every character that sway's command parser or its expansion of the file
    // name would take specially is escaped; separators are quoted.
    const Case cases[] = {
        {"Mix.bmp", folder.path().string() + "/Mix.bmp"},
        {"程序 it's \"bg\" $HOME\\;,[*].bmp",
         folder.path().string() + "/程序\\ it\\'s\\ \\\"bg\\\"\\ \\$HOME\\\\\";\"\",\"\\[\\*\\].bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(socketPath);
        IpcSocket sway(socketPath, R"([ { "success": true } ])");

        SwayWallpaper(socketPath).SetWallpaper(folder / c.name);

        EXPECT_EQ(sway.received(), message("output * bg " + c.escaped + " stretch"));
    }
}

TEST(SwayWallpaper, RefusalsAndUnreachableCompositorsAreReported) {
    test::TempFolder folder;
    const std::string socketPath = (folder / "ipc.sock").string();
    auto errorOf = [&](SwayWallpaper backend) -> std::string {
        try {
            backend.SetWallpaper(folder / "Mix.bmp");
        } catch (const WallpaperError& error) {
            return error.cause() + " / " + error.what();
        }
        return "(no error)";
    };
    {
        IpcSocket sway(socketPath,
                       R"([{"success": false, "parse_error": false, "error": "Unable to access\nbackground file"}])");
        EXPECT_EQ(errorOf(SwayWallpaper(socketPath)),
                  "sway 拒绝了这张壁纸 / sway: the compositor refused the wallpaper: Unable to access background file");
    }
    std::filesystem::remove(socketPath);
    {
        IpcSocket sway(socketPath, "not json");
        EXPECT_EQ(errorOf(SwayWallpaper(socketPath)), "sway 的回答无法识别 / sway: unexpected IPC reply: not json");
    }
    std::filesystem::remove(socketPath);
    EXPECT_EQ(errorOf(SwayWallpaper(socketPath)), "无法连接 sway 的控制接口 / sway: cannot connect to the IPC socket " +
                                                      socketPath + ": No such file or directory");
    EXPECT_EQ(errorOf(SwayWallpaper("")),
              "没有设置 SWAYSOCK，无法连接 sway / sway: SWAYSOCK is not set, so the compositor cannot be reached");
}

// A scaled output's mode is already in physical pixels and its place in
// the layout is not; a turned output shows its mode on its side; an output
// that is off shows nothing.
TEST(SwayOutputs, AreReadInPhysicalPixelsTurnedAndPlaced) {
    const std::string reply = R"([
        {"name": "eDP-1", "active": true, "primary": false, "scale": 2.0, "transform": "normal",
         "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}, "current_mode": {"width": 2560, "height": 1600}},
        {"name": "DP-2", "active": true, "scale": 1.0, "transform": "90",
         "rect": {"x": 1280, "y": 0, "width": 1080, "height": 1920}, "current_mode": {"width": 1920, "height": 1080}},
        {"name": "HDMI-A-1", "active": false, "scale": 1.0, "transform": "normal",
         "rect": {"x": 0, "y": 0, "width": 0, "height": 0}, "current_mode": {"width": 1920, "height": 1080}}
    ])";
    EXPECT_EQ(parseSwayOutputs(reply),
              (MonitorLayout{{"eDP-1", 0, 0, 2560, 1600, false}, {"DP-2", 1280, 0, 1080, 1920, false}}));
    EXPECT_TRUE(parseSwayOutputs("not json").empty());
}

TEST(Monitors, PrimaryIsTheFlaggedOneElseTheOneNearestTheOriginAndComesFirst) {
    const Monitor left{"L", -1920, 0, 1920, 1080, false}, origin{"O", 0, 0, 1920, 1080, false},
        below{"B", 0, 1080, 1920, 1080, false};
    EXPECT_EQ(primaryMonitor({left, below, origin}), origin);
    Monitor flagged = below;
    flagged.primary = true;
    EXPECT_EQ(primaryMonitor({left, flagged, origin}), flagged);
    EXPECT_EQ(primaryFirst({below, left, origin}), (MonitorLayout{origin, left, below}));
}

}  // namespace
}  // namespace tavlo::wallpaper
