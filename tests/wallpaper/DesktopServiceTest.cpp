// The KDE and XFCE backends on a private session bus: against stand-ins that
// record every call they receive, and against the real xfconf daemon.
#include "ChildProcess.h"
#include "MissingTool.h"
#include "PlasmaWallpaper.h"
#include "PrivateSessionBus.h"
#include "XfceWallpaper.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>

#include <fstream>

namespace tavlo::wallpaper {
namespace {

using Call = std::vector<std::string>;

// A stand-in service, ready to be called, recording into a file.
class StandIn {
public:
    StandIn(const std::string& kind, const std::vector<std::string>& options, const std::filesystem::path& record)
        : record_(record) {
        std::vector<std::string> arguments{TAVLO_BUS_STANDIN, kind, record.string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        process_ = std::make_unique<test::ChildProcess>(arguments);
        ready_ = process_->readLine() == "ready";
    }

    bool ready() const { return ready_; }

    std::vector<Call> calls() const {
        std::vector<Call> calls;
        std::ifstream file(record_);
        for (std::string line; std::getline(file, line);) {
            Call call;
            for (const QJsonValue& value : QJsonDocument::fromJson(QByteArray::fromStdString(line)).array())
                call.push_back(value.toString().toStdString());
            calls.push_back(call);
        }
        return calls;
    }

private:
    std::filesystem::path record_;
    std::unique_ptr<test::ChildProcess> process_;
    bool ready_ = false;
};

class DesktopServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(test::PrivateSessionBus::instance(), "dbus-daemon");
        std::filesystem::create_directory(folder_ / "程序 folder");
        picture_ = folder_ / "程序 folder" / "Mix.bmp";
        test::writeFileBytes(picture_, "BM");
    }

    std::string errorOf(WallpaperBackend&& backend) {
        try {
            backend.SetWallpaper(picture_);
        } catch (const WallpaperError& error) {
            return error.what();
        }
        return "(no error)";
    }

    test::TempFolder folder_;
    std::filesystem::path picture_;
};

std::string plasmaScript(const std::string& image) {
    return "var all = desktops();\n"
           "for (var i = 0; i < all.length; ++i) {\n"
           "    var d = all[i];\n"
           "    d.wallpaperPlugin = \"org.kde.image\";\n"
           "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
           "    d.writeConfig(\"Image\", \"" +
           image +
           "\");\n"
           "    d.writeConfig(\"FillMode\", 0);\n"
           "}\n";
}

TEST_F(DesktopServiceTest, PlasmaGetsAClearingScriptThenTheImageWithStretchOnEveryDesktop) {
    StandIn shell("plasma", {}, folder_ / "calls");
    ASSERT_TRUE(shell.ready());

    PlasmaWallpaper().SetWallpaper(picture_);

    const std::string url = "file://" + folder_.path().string() + "/%E7%A8%8B%E5%BA%8F%20folder/Mix.bmp";
    EXPECT_EQ(shell.calls(),
              (std::vector<Call>{{"evaluateScript", plasmaScript("")}, {"evaluateScript", plasmaScript(url)}}));
}

TEST_F(DesktopServiceTest, PlasmaFailuresComeBackAsOneLine) {
    EXPECT_EQ(errorOf(PlasmaWallpaper()).rfind("kde: org.kde.plasmashell evaluateScript failed: ", 0), 0u);

    StandIn failing("plasma", {"--fail"}, folder_ / "calls");
    ASSERT_TRUE(failing.ready());
    EXPECT_EQ(errorOf(PlasmaWallpaper()),
              "kde: org.kde.plasmashell evaluateScript failed: Error: TypeError: desktops is not a function at line 1");
}

TEST_F(DesktopServiceTest, XfceSetsEveryMonitorAndWorkspaceClearingFirst) {
    const std::string a = "/backdrop/screen0/monitorVirtual1/workspace0/";
    const std::string b = "/backdrop/screen0/monitorVirtual1/workspace1/";
    const std::string c = "/backdrop/screen0/monitorHDMI-1/workspace0/";
    StandIn xfconf("xfconf",
                   {b + "last-image=/old.png", a + "last-image=/old.png", a + "color-style=0",
                    c + "last-image=", "/backdrop/screen0/monitorVirtual1/last-image-extra=x"},
                   folder_ / "calls");
    ASSERT_TRUE(xfconf.ready());

    XfceWallpaper().SetWallpaper(picture_);

    const std::string file = picture_.string();
    const std::string channel = "xfce4-desktop";
    EXPECT_EQ(xfconf.calls(), (std::vector<Call>{
                                  {"GetAllProperties", channel, "/backdrop"},
                                  {"SetProperty", channel, c + "image-style", "i", "3"},
                                  {"SetProperty", channel, a + "image-style", "i", "3"},
                                  {"SetProperty", channel, b + "image-style", "i", "3"},
                                  {"SetProperty", channel, c + "last-image", "s", ""},
                                  {"SetProperty", channel, a + "last-image", "s", ""},
                                  {"SetProperty", channel, b + "last-image", "s", ""},
                                  {"SetProperty", channel, c + "last-image", "s", file},
                                  {"SetProperty", channel, a + "last-image", "s", file},
                                  {"SetProperty", channel, b + "last-image", "s", file},
                              }));
}

TEST_F(DesktopServiceTest, XfceWithoutStoredBackdropsSetsTheFirstMonitorAndWorkspace) {
    StandIn xfconf("xfconf", {}, folder_ / "calls");
    ASSERT_TRUE(xfconf.ready());

    XfceWallpaper().SetWallpaper(picture_);

    const std::string first = "/backdrop/screen0/monitor0/workspace0/";
    const std::vector<Call> calls = xfconf.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1], (Call{"SetProperty", "xfce4-desktop", first + "image-style", "i", "3"}));
    EXPECT_EQ(calls[3], (Call{"SetProperty", "xfce4-desktop", first + "last-image", "s", picture_.string()}));
}

// The real daemon stays silent when a property is set to the value it has;
// the desktop must hear of the new picture all the same.
TEST_F(DesktopServiceTest, RealXfconfAnnouncesTheSamePathAgain) {
    const std::filesystem::path daemon = "/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd";
    TAVLO_REQUIRE_TOOL(std::filesystem::exists(daemon), "xfconfd");
    TAVLO_REQUIRE_TOOL(test::programInPath("gdbus"), "gdbus");
    const std::string property = "/backdrop/screen0/monitorVirtual1/workspace0/last-image";
    const std::string gdbus = "gdbus call --session -d org.xfce.Xfconf -o /org/xfce/Xfconf -m org.xfce.Xfconf.";
    ASSERT_EQ(
        test::runCommand(gdbus + "SetProperty xfce4-desktop " + property + " \"<'" + picture_.string() + "'>\"").status,
        0);
    test::ChildProcess monitor({"gdbus", "monitor", "--session", "-d", "org.xfce.Xfconf"});
    // It prints the owner once its signal subscription is in place.
    for (std::optional<std::string> line;
         (line = monitor.readLine()) && line->find("is owned by") == std::string::npos;) {}

    XfceWallpaper().SetWallpaper(picture_);

    const std::string announced =
        "PropertyChanged ('xfce4-desktop', '" + property + "', <'" + picture_.string() + "'>)";
    bool seen = false;
    while (!seen) {
        const std::optional<std::string> line = monitor.readLine();
        ASSERT_TRUE(line) << "the new picture was not announced";
        seen = line->find(announced) != std::string::npos;
    }
    const std::string stored = test::runCommand(gdbus + "GetAllProperties xfce4-desktop /backdrop").output;
    EXPECT_NE(stored.find("'" + property + "': <'" + picture_.string() + "'>"), std::string::npos) << stored;
    EXPECT_NE(stored.find("'/backdrop/screen0/monitorVirtual1/workspace0/image-style': <3>"), std::string::npos)
        << stored;
}

}  // namespace
}  // namespace tavlo::wallpaper
