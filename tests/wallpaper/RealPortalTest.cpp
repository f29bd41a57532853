// The portal backend against the real desktop portal on a private session bus
// and X server, with the GNOME portal backend doing the work: it keeps its own
// copy of the picture and points the GNOME settings at it.
#include "BmpFormat.h"
#include "ChildProcess.h"
#include "MissingTool.h"
#include "PortalWallpaper.h"
#include "PrivateSessionBus.h"
#include "TempFolder.h"
#include "WallpaperFactory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

const fs::path kPortal = "/usr/libexec/xdg-desktop-portal";
const fs::path kGnomeBackend = "/usr/libexec/xdg-desktop-portal-gnome";

bool nameHasOwner(const std::string& name) {
    return test::runCommand(
               "gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m "
               "org.freedesktop.DBus.NameHasOwner " +
               name)
               .output.find("true") != std::string::npos;
}

// Whether programs may set the background without asking the user, as the
// portal's permission store remembers the user's answer.
void allowBackgrounds(bool allowed) {
    const test::CommandResult result = test::runCommand(
        "gdbus call --session -d org.freedesktop.impl.portal.PermissionStore -o "
        "/org/freedesktop/impl/portal/PermissionStore -m org.freedesktop.impl.portal.PermissionStore.SetPermission "
        "wallpaper true wallpaper '' \"['" +
        std::string(allowed ? "yes" : "no") + "']\"");
    ASSERT_EQ(result.status, 0) << result.output;
}

class RealPortalTest : public ::testing::Test {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(test::programInPath("Xvfb"), "Xvfb");
        TAVLO_REQUIRE_TOOL(fs::exists(kPortal), "xdg-desktop-portal");
        TAVLO_REQUIRE_TOOL(fs::exists(kGnomeBackend), "xdg-desktop-portal-gnome");
        TAVLO_REQUIRE_TOOL(test::PrivateSessionBus::instance(), "dbus-daemon");
        const std::optional<std::string> display = test::startXvfb(xvfb_, "320x240x24");
        ASSERT_TRUE(display) << "Xvfb did not start";
        setenv("DISPLAY", display->c_str(), 1);
        setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
        unsetenv("GSETTINGS_SCHEMA_DIR");
        allowBackgrounds(true);
        // The backend first: the portal looks for it as it starts.
        gnome_ = std::make_unique<test::ChildProcess>(std::vector<std::string>{kGnomeBackend.string(), "-r"});
        ASSERT_TRUE(test::waitFor([] { return nameHasOwner("org.freedesktop.impl.portal.desktop.gnome"); }))
            << "the portal's GNOME backend did not start";
        portal_ = std::make_unique<test::ChildProcess>(std::vector<std::string>{kPortal.string(), "-r"});
        ASSERT_TRUE(test::waitFor([] { return nameHasOwner("org.freedesktop.portal.Desktop"); }))
            << "the portal did not start";
        mix_ = folder_ / "程序" / "source" / "DeskTopBG" / "Mix.bmp";
        fs::create_directories(mix_.parent_path());
    }

    void TearDown() override {
        portal_.reset();
        gnome_.reset();
        unsetenv("DISPLAY");
        unsetenv("XDG_CURRENT_DESKTOP");
    }

    // The file the GNOME settings point at (the GNOME backend writes a plain
    // path where the key's name promises a URI; GNOME takes both).
    static fs::path gnomePicture() {
        const std::string value = test::runCommand("gsettings get org.gnome.desktop.background picture-uri").output;
        const std::size_t open = value.find('\''), close = value.rfind('\'');
        if (open == std::string::npos || close <= open) return {};
        std::string picture = value.substr(open + 1, close - open - 1);
        if (picture.rfind("file://", 0) == 0) picture.erase(0, 7);
        return picture;
    }

    void writePicture(std::uint8_t grey) const {
        imaging::Bitmap bitmap(8, 4, 24);
        std::fill(bitmap.pixels().begin(), bitmap.pixels().end(), grey);
        imaging::writeBmp(bitmap, mix_);
    }

    test::TempFolder folder_;
    std::unique_ptr<test::ChildProcess> xvfb_, gnome_, portal_;
    fs::path mix_;
};

TEST_F(RealPortalTest, TheDesktopGetsEachPictureThroughThePortal) {
    ASSERT_TRUE(PortalWallpaper::available());
    const auto backend = createProgramBackend({BackendKind::Portal, ""}, folder_ / "程序");
    for (const std::uint8_t grey : {40, 200}) {
        SCOPED_TRACE(grey);
        writePicture(grey);
        backend->SetWallpaper(mix_);
        // The settings store passes the backend's write on a moment later.
        const std::string expected = test::readFileBytes(mix_);
        EXPECT_TRUE(test::waitFor([&] {
            const fs::path shown = gnomePicture();
            std::error_code error;
            return fs::is_regular_file(shown, error) && test::readFileBytes(shown) == expected;
        })) << gnomePicture();
    }
}

// The user said no when the portal asked, and it remembers.
TEST_F(RealPortalTest, ARefusalIsToldInChinese) {
    writePicture(90);
    allowBackgrounds(false);
    try {
        PortalWallpaper().SetWallpaper(mix_);
        ADD_FAILURE() << "a refused picture was reported as set";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "桌面门户没有设置壁纸");
    }
}

}  // namespace
}  // namespace tavlo::wallpaper
