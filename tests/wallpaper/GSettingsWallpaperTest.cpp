// The GNOME-family backends against GIO and the real settings store (dconf on
// a private session bus), read back by another process.
#include "ChildProcess.h"
#include "GSettingsWallpaper.h"
#include "MissingTool.h"
#include "PrivateSessionBus.h"
#include "WallpaperFactory.h"

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
        BackendKind kind;
        GSettingsLayout layout;
        std::vector<std::string> pictureKeys;
        bool uri;
    };
    const Case cases[] = {
        {BackendKind::Gnome, GSettingsLayout::gnome(), {"picture-uri", "picture-uri-dark"}, true},
        {BackendKind::Cinnamon, GSettingsLayout::cinnamon(), {"picture-uri"}, true},
        {BackendKind::Mate, GSettingsLayout::mate(), {"picture-filename"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout.schema);
        const std::string expected = c.uri ? uri() : picture_.string();

        GSettingsWallpaper(c.kind, c.layout).SetWallpaper(picture_);

        for (const std::string& key : c.pictureKeys)
            EXPECT_EQ(settingOf(c.layout.schema, key), "'" + expected + "'\n") << key;
        EXPECT_EQ(settingOf(c.layout.schema, "picture-options"), "'stretched'\n");

        // One picture across several monitors, in the desktop's own mode for it.
        GSettingsWallpaper(c.kind, c.layout).SetSpannedWallpaper(picture_);
        EXPECT_EQ(settingOf(c.layout.schema, "picture-options"), "'spanned'\n");
        GSettingsWallpaper(c.kind, c.layout).SetWallpaper(picture_);
        EXPECT_EQ(settingOf(c.layout.schema, "picture-options"), "'stretched'\n");
    }
}

// Whoever draws the desktop learns of every apply, also when the picture's
// path is the same as last time, and the stored picture is never empty, not
// even for a moment: a desktop shows no blank between two pictures, and an
// apply cut short leaves a picture set.
TEST_F(GSettingsWallpaperTest, EveryApplyIsAnnouncedAndThePictureIsNeverEmpty) {
    const auto background = folder_ / "程序" / "source" / "DeskTopBG";
    std::filesystem::create_directories(background);
    const auto mix = background / "Mix.bmp";
    test::writeFileBytes(mix, "BM first");
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

    const auto backend = createProgramBackend({BackendKind::Gnome, ""}, folder_ / "程序");
    std::vector<std::string> announced;
    for (int apply = 0; apply < 3; ++apply) {
        SCOPED_TRACE(apply);
        test::writeFileBytes(mix, "BM picture " + std::to_string(apply));
        backend->SetWallpaper(mix);
        const std::optional<std::string> line = monitor.readLine();
        ASSERT_TRUE(line) << "the change was not announced";
        announced.push_back(*line);
        // The desktop is shown this apply's picture, under whichever name.
        const std::string value = settingOf("org.gnome.desktop.background", "picture-uri");
        const std::string uri = value.substr(1, value.rfind('\'') - 1);
        gchar* file = g_filename_from_uri(uri.c_str(), nullptr, nullptr);
        ASSERT_TRUE(file) << value;
        EXPECT_EQ(test::readFileBytes(file), "BM picture " + std::to_string(apply));
        g_free(file);
    }
    for (const std::string& line : announced) EXPECT_EQ(line.find("''"), std::string::npos) << line;
    EXPECT_NE(announced[0], announced[1]);
    EXPECT_NE(announced[1], announced[2]);
    // Nothing else was announced in between: no empty value came and went.
    EXPECT_FALSE(monitor.readLine(std::chrono::milliseconds(300)));
}

}  // namespace
}  // namespace tavlo::wallpaper
