// The GNOME-family backends against GIO and the real settings store (dconf on
// a private session bus), read back by another process.
#include "ChildProcess.h"
#include "GSettingsWallpaper.h"
#include "MissingTool.h"
#include "PrivateSessionBus.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

namespace tavlo::wallpaper {
namespace {

// A folder name that must be escaped in a URI and kept as it is in a path.
constexpr const char* kFolderName = "程序 folder";
constexpr const char* kFolderInUri = "%E7%A8%8B%E5%BA%8F%20folder";

std::string settingOf(const std::string& schema, const std::string& key) {
    const test::CommandResult result = test::runCommand("gsettings get " + schema + " " + key);
    return result.status == 0 ? result.output : "(gsettings failed)";
}

class GSettingsWallpaperTest : public ::testing::Test {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(test::PrivateSessionBus::instance(), "dbus-daemon");
        TAVLO_REQUIRE_TOOL(test::programInPath("gsettings"), "gsettings");
        std::filesystem::create_directory(folder_ / kFolderName);
        picture_ = folder_ / kFolderName / "Mix.bmp";
        test::writeFileBytes(picture_, "BM");
    }

    std::string uri() const { return "file://" + folder_.path().string() + "/" + kFolderInUri + "/Mix.bmp"; }

    test::TempFolder folder_;
    std::filesystem::path picture_;
};

TEST_F(GSettingsWallpaperTest, EachDesktopGetsItsKeysStretched) {
    struct Case {
        GSettingsLayout layout;
        std::vector<std::string> pictureKeys;
        bool uri;
    };
    const Case cases[] = {
        {GSettingsLayout::gnome(), {"picture-uri", "picture-uri-dark"}, true},
        {GSettingsLayout::cinnamon(), {"picture-uri"}, true},
        {GSettingsLayout::mate(), {"picture-filename"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout.desktop);
        const std::string expected = c.uri ? uri() : picture_.string();

        GSettingsWallpaper(c.layout).SetWallpaper(picture_);

        for (const std::string& key : c.pictureKeys)
            EXPECT_EQ(settingOf(c.layout.schema, key), "'" + expected + "'\n") << key;
        EXPECT_EQ(settingOf(c.layout.schema, "picture-options"), "'stretched'\n");
    }
}

// Whoever draws the desktop learns of every call, also when the path is the
// one it already has.
TEST_F(GSettingsWallpaperTest, SettingTheSamePathAgainTellsTheDesktopAgain) {
    test::ChildProcess monitor({"gsettings", "monitor", "org.gnome.desktop.background", "picture-uri"});
    // The monitor is listening once it reports a change made after it started.
    GSettings* settings = g_settings_new("org.gnome.desktop.background");
    bool listening = false;
    for (int attempt = 0; attempt < 100 && !listening; ++attempt) {
        g_settings_set_string(settings, "picture-uri", ("file:///probe" + std::to_string(attempt)).c_str());
        g_settings_sync();
        while (auto line = monitor.readLine(std::chrono::milliseconds(100)))
            listening = listening || line->find("probe") != std::string::npos;
    }
    g_object_unref(settings);
    ASSERT_TRUE(listening);

    const std::string announced = "picture-uri: '" + uri() + "'";
    for (int call = 0; call < 2; ++call) {
        SCOPED_TRACE(call);
        GSettingsWallpaper(GSettingsLayout::gnome()).SetWallpaper(picture_);
        bool seen = false;
        while (!seen) {
            const std::optional<std::string> line = monitor.readLine();
            ASSERT_TRUE(line) << "the change was not announced";
            seen = *line == announced;
        }
    }
}

}  // namespace
}  // namespace tavlo::wallpaper
