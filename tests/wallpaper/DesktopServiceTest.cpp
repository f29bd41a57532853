// The KDE and XFCE backends on a private session bus: against stand-ins that
// record every call they receive, and against the real xfconf daemon.
#include "ChildProcess.h"
#include "DeepinWallpaper.h"
#include "MissingTool.h"
#include "PlasmaWallpaper.h"
#include "PrivateSessionBus.h"
#include "WallpaperFactory.h"
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

    // The cause the user is told, then the service's own account.
    std::string errorOf(WallpaperBackend&& backend) {
        try {
            backend.SetWallpaper(picture_);
        } catch (const WallpaperError& error) {
            return error.cause() + " / " + error.what();
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

TEST_F(DesktopServiceTest, PlasmaGetsOneScriptThatGivesEveryDesktopTheImageStretched) {
    StandIn shell("plasma", {}, folder_ / "calls");
    ASSERT_TRUE(shell.ready());

    PlasmaWallpaper().SetWallpaper(picture_);

    const std::string url = "file://" + folder_.path().string() + "/%E7%A8%8B%E5%BA%8F%20folder/Mix.bmp";
    EXPECT_EQ(shell.calls(), (std::vector<Call>{{"evaluateScript", plasmaScript(url)}}));
}

TEST_F(DesktopServiceTest, PlasmaFailuresAreToldInChinese) {
    EXPECT_EQ(errorOf(PlasmaWallpaper())
                  .rfind("KDE Plasma 的服务 org.kde.plasmashell 没有运行 / kde: "
                         "org.kde.plasmashell evaluateScript failed: ",
                         0),
              0u);
    {
        StandIn failing("plasma", {"--fail"}, folder_ / "calls");
        ASSERT_TRUE(failing.ready());
        EXPECT_EQ(errorOf(PlasmaWallpaper()),
                  "KDE Plasma 的服务 org.kde.plasmashell 没有接受这次设置（evaluateScript 失败） / kde: "
                  "org.kde.plasmashell evaluateScript failed: Error: TypeError: desktops is not a function at line 1");
    }
    StandIn locked("plasma", {"--locked"}, folder_ / "calls");
    ASSERT_TRUE(locked.ready());
    EXPECT_EQ(errorOf(PlasmaWallpaper()),
              "KDE Plasma 的桌面部件已锁定，不能更换壁纸（请先解锁部件） / kde: Widgets are locked");
}

TEST_F(DesktopServiceTest, XfceSetsEveryMonitorAndWorkspace) {
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
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1], (Call{"SetProperty", "xfce4-desktop", first + "image-style", "i", "3"}));
    EXPECT_EQ(calls[2], (Call{"SetProperty", "xfce4-desktop", first + "last-image", "s", picture_.string()}));
}

std::vector<Call> callsTo(const std::vector<Call>& calls, const std::string& member) {
    std::vector<Call> found;
    for (const Call& call : calls)
        if (!call.empty() && call[0] == member) found.push_back(call);
    return found;
}

// Each monitor's own properties, on every workspace; a monitor without any
// gets its first workspace's.
TEST_F(DesktopServiceTest, XfceGivesEachMonitorItsOwnPicture) {
    const std::string a = "/backdrop/screen0/monitorVirtual1/workspace0/";
    const std::string b = "/backdrop/screen0/monitorVirtual1/workspace1/";
    const std::string c = "/backdrop/screen0/monitorHDMI-1/workspace0/";
    const std::string d = "/backdrop/screen0/monitorDP-3/workspace0/";
    StandIn xfconf("xfconf", {b + "last-image=/old.png", a + "last-image=/old.png", c + "last-image="},
                   folder_ / "calls");
    ASSERT_TRUE(xfconf.ready());
    const auto second = folder_ / "Mix-HDMI-1.bmp", third = folder_ / "Mix-DP-3.bmp";

    XfceWallpaper().SetMonitorWallpapers({{{"Virtual1", 0, 0, 1920, 1080, true}, picture_},
                                          {{"HDMI-1", 1920, 0, 1080, 1920, false}, second},
                                          {{"DP-3", 3000, 0, 800, 600, false}, third}});

    const std::string channel = "xfce4-desktop";
    EXPECT_EQ(callsTo(xfconf.calls(), "SetProperty"),
              (std::vector<Call>{
                  {"SetProperty", channel, a + "image-style", "i", "3"},
                  {"SetProperty", channel, b + "image-style", "i", "3"},
                  {"SetProperty", channel, a + "last-image", "s", picture_.string()},
                  {"SetProperty", channel, b + "last-image", "s", picture_.string()},
                  {"SetProperty", channel, c + "image-style", "i", "3"},
                  {"SetProperty", channel, c + "last-image", "s", second.string()},
                  {"SetProperty", channel, d + "image-style", "i", "3"},
                  {"SetProperty", channel, d + "last-image", "s", third.string()},
              }));
}

// The script, run by a JavaScript engine against a shell of two screens:
// each desktop gets the picture of the monitor at its screen's corner.
TEST_F(DesktopServiceTest, PlasmaScriptGivesEachScreensDesktopItsMonitorsPicture) {
    TAVLO_REQUIRE_TOOL(test::programInPath("node"), "node");
    const std::string shell =
        "var written = [];\n"
        "function screenGeometry(s) { return [{x: 0, y: 0}, {x: 1920, y: 0}][s]; }\n"
        "function desktop(s) { return {screen: s, writeConfig: function(k, v) { written.push([s, k, v]); }}; }\n"
        "function desktops() { return [desktop(1), desktop(0)]; }\n";
    const QString script =
        PlasmaWallpaper::monitorScript({{{"DP-1", 0, 0, 1920, 1080, true}, folder_ / "Mix.bmp"},
                                        {{"DP-2", 1920, 0, 1080, 1920, false}, folder_ / "Mix-DP-2.bmp"}});
    test::writeFileBytes(folder_ / "script.js",
                         shell + script.toStdString() + "console.log(JSON.stringify(written));\n");
    const test::CommandResult run = test::runCommand("node '" + (folder_ / "script.js").string() + "' 2>&1");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string url = "file://" + folder_.path().string();
    EXPECT_EQ(run.output, "[[1,\"Image\",\"" + url + "/Mix-DP-2.bmp\"],[1,\"FillMode\",0],[0,\"Image\",\"" + url +
                              "/Mix.bmp\"],[0,\"FillMode\",0]]\n");
}

// Both generations of the services: the picture goes to every monitor that is
// switched on, under the name the display service gives it.
TEST_F(DesktopServiceTest, DeepinSetsEveryMonitorThatIsOn) {
    const std::string uri = "file://" + folder_.path().string() + "/%E7%A8%8B%E5%BA%8F%20folder/Mix.bmp";
    for (const char* kind : {"deepin", "deepin-old"}) {
        SCOPED_TRACE(kind);
        const auto record = folder_ / (std::string(kind) + ".calls");
        StandIn services(kind, {"HDMI-1=on", "eDP-1=off", "DP-2=on"}, record);
        ASSERT_TRUE(services.ready());

        DeepinWallpaper().SetWallpaper(picture_);

        EXPECT_EQ(callsTo(services.calls(), "SetMonitorBackground"),
                  (std::vector<Call>{{"SetMonitorBackground", "HDMI-1", uri}, {"SetMonitorBackground", "DP-2", uri}}));
    }
}

TEST_F(DesktopServiceTest, DeepinGivesEachMonitorItsOwnPictureAndNamesOneItNoLongerLists) {
    StandIn services("deepin", {"HDMI-1=on", "eDP-1=off", "DP-2=on"}, folder_ / "calls");
    ASSERT_TRUE(services.ready());
    const std::string folder = "file://" + folder_.path().string();
    DeepinWallpaper().SetMonitorWallpapers({{{"HDMI-1", 0, 0, 1920, 1080, true}, folder_ / "a.bmp"},
                                            {{"DP-2", 1920, 0, 1080, 1920, false}, folder_ / "b.bmp"}});
    EXPECT_EQ(callsTo(services.calls(), "SetMonitorBackground"),
              (std::vector<Call>{{"SetMonitorBackground", "HDMI-1", folder + "/a.bmp"},
                                 {"SetMonitorBackground", "DP-2", folder + "/b.bmp"}}));
    try {
        DeepinWallpaper().SetMonitorWallpapers({{{"eDP-1", 0, 0, 1920, 1080, true}, folder_ / "a.bmp"}});
        FAIL() << "a monitor that is off was set";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "显示器“eDP-1”：桌面已经没有这个显示器");
    }
}

TEST_F(DesktopServiceTest, DeepinWithoutItsServicesOrMonitorsSaysSo) {
    EXPECT_EQ(errorOf(DeepinWallpaper()),
              "Deepin 的服务 org.deepin.dde.Display1 没有运行 / deepin: neither display "
              "service runs");
    StandIn services("deepin", {}, folder_ / "calls");
    ASSERT_TRUE(services.ready());
    EXPECT_EQ(errorOf(DeepinWallpaper()),
              "Deepin 桌面没有报告任何显示器 / deepin: the display service lists no monitor");
}

// The real daemon stays silent when a property is set to the value it has;
// the desktop must hear of every apply all the same, and never of an empty
// picture.
TEST_F(DesktopServiceTest, RealXfconfHearsOfEveryApplyAndNeverOfNoPicture) {
    const std::filesystem::path daemon = "/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd";
    TAVLO_REQUIRE_TOOL(std::filesystem::exists(daemon), "xfconfd");
    TAVLO_REQUIRE_TOOL(test::programInPath("gdbus"), "gdbus");
    const auto programFolder = folder_ / "程序 folder";
    const auto mix = programFolder / "source" / "DeskTopBG" / "Mix.bmp";
    std::filesystem::create_directories(mix.parent_path());
    test::writeFileBytes(mix, "BM");
    const std::string property = "/backdrop/screen0/monitorVirtual1/workspace0/last-image";
    const std::string gdbus = "gdbus call --session -d org.xfce.Xfconf -o /org/xfce/Xfconf -m org.xfce.Xfconf.";
    ASSERT_EQ(
        test::runCommand(gdbus + "SetProperty xfce4-desktop " + property + " \"<'" + mix.string() + "'>\"").status, 0);
    test::ChildProcess monitor({"gdbus", "monitor", "--session", "-d", "org.xfce.Xfconf"});
    // It prints the owner once its signal subscription is in place.
    for (std::optional<std::string> line;
         (line = monitor.readLine()) && line->find("is owned by") == std::string::npos;) {}

    const auto backend = createProgramBackend({BackendKind::Xfce, ""}, programFolder);
    std::vector<std::string> announced;
    for (int apply = 0; apply < 3; ++apply) {
        backend->SetWallpaper(mix);
        for (std::optional<std::string> line; announced.size() < static_cast<std::size_t>(apply + 1);) {
            ASSERT_TRUE(line = monitor.readLine()) << "apply " << apply << " was not announced";
            if (line->find("'" + property + "'") != std::string::npos) announced.push_back(*line);
        }
    }
    EXPECT_NE(announced[0].find("/DeskTopBG/Mix-2.bmp'>"), std::string::npos) << announced[0];
    EXPECT_NE(announced[1].find("/DeskTopBG/Mix.bmp'>"), std::string::npos) << announced[1];
    EXPECT_NE(announced[2].find("/DeskTopBG/Mix-2.bmp'>"), std::string::npos) << announced[2];
    for (std::optional<std::string> line; (line = monitor.readLine(std::chrono::milliseconds(300)));)
        EXPECT_EQ(line->find(property), std::string::npos) << "announced once more: " << *line;
    const std::string stored = test::runCommand(gdbus + "GetAllProperties xfce4-desktop /backdrop").output;
    EXPECT_NE(stored.find("'/backdrop/screen0/monitorVirtual1/workspace0/image-style': <3>"), std::string::npos)
        << stored;
}

}  // namespace
}  // namespace tavlo::wallpaper
