// tavlo-wallpaper as a user runs it, with the session described by the
// environment, on the test's private session bus.
#include "ChildProcess.h"
#include "MissingTool.h"
#include "PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tavlo::wallpaper {
namespace {

// The session variables of the machine running the tests must not leak in.
const std::string kCleanSession =
    "env -u DISPLAY -u WAYLAND_DISPLAY -u SWAYSOCK -u XDG_SESSION_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION "
    "-u GNOME_DESKTOP_SESSION_ID -u MATE_DESKTOP_SESSION_ID -u XDG_CURRENT_DESKTOP ";

test::CommandResult runTool(const std::string& environment, const std::string& arguments) {
    return test::runCommand(kCleanSession + environment + " '" TAVLO_WALLPAPER_TOOL "' " + arguments + " 2>&1");
}

class WallpaperToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(test::PrivateSessionBus::instance(), "dbus-daemon");
        TAVLO_REQUIRE_TOOL(test::programInPath("gsettings"), "gsettings");
        picture_ = folder_ / "Mix.bmp";
        test::writeFileBytes(picture_, "BM");
    }

    test::TempFolder folder_;
    std::filesystem::path picture_;
};

TEST_F(WallpaperToolTest, BackendTellsWhichAndWhy) {
    const test::CommandResult result = runTool("XDG_CURRENT_DESKTOP=ubuntu:GNOME", "backend");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "gnome: XDG_CURRENT_DESKTOP=ubuntu:GNOME names a gnome desktop\n");
}

TEST_F(WallpaperToolTest, FailuresExitWithOneLine) {
    const std::string missing = (folder_ / "missing.bmp").string();
    struct Case {
        std::string environment, arguments, output;
    };
    const Case cases[] = {
        {"", "", "tavlo-wallpaper: usage: tavlo-wallpaper set PATH | tavlo-wallpaper backend\n"},
        {"XDG_CURRENT_DESKTOP=GNOME", "set '" + missing + "'", "tavlo-wallpaper: no picture file at " + missing + "\n"},
        {"", "set '" + picture_.string() + "'",
         "tavlo-wallpaper: cannot set the wallpaper: no desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set\n"},
        {"XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=memory", "set '" + picture_.string() + "'",
         "tavlo-wallpaper: gnome: no GSettings store is available (GIO uses GMemorySettingsBackend), so the desktop "
         "would never see the setting\n"},
        {"XDG_CURRENT_DESKTOP=sway", "set '" + picture_.string() + "'",
         "tavlo-wallpaper: sway: SWAYSOCK is not set, so the compositor cannot be reached\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.environment + " " + c.arguments);
        const test::CommandResult result = runTool(c.environment, c.arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.output, c.output);
    }
}

// GIO drops a write the settings store never received, with a warning only.
TEST_F(WallpaperToolTest, AWriteTheSettingsStoreLostIsAFailure) {
    const test::CommandResult result = runTool(
        "XDG_CURRENT_DESKTOP=GNOME DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent", "set '" + picture_.string() + "'");

    EXPECT_EQ(result.status, 1);
    // GLib's own warning comes from a worker thread, before or after our line.
    const std::string line =
        "tavlo-wallpaper: gnome: the settings store did not keep org.gnome.desktop.background picture-uri (is its "
        "service reachable on the session bus?)\n";
    const std::string wrapped = "\n" + result.output;
    EXPECT_NE(wrapped.find("\n" + line), std::string::npos) << result.output;
}

// Before GNOME 42 the schema had no dark-style picture.
TEST_F(WallpaperToolTest, SetsAGnomeWhoseSchemaHasNoDarkPicture) {
    TAVLO_REQUIRE_TOOL(test::programInPath("glib-compile-schemas"), "glib-compile-schemas");
    const auto schemas = folder_ / "schemas";
    std::filesystem::create_directory(schemas);
    std::ofstream(schemas / "org.gnome.desktop.background.gschema.xml")
        << "<schemalist><schema id='org.gnome.desktop.background' path='/org/gnome/desktop/background/'>"
           "<key name='picture-uri' type='s'><default>''</default></key>"
           "<key name='picture-options' type='s'><choices><choice value='zoom'/><choice value='stretched'/></choices>"
           "<default>'zoom'</default></key>"
           "</schema></schemalist>";
    ASSERT_EQ(test::runCommand("glib-compile-schemas '" + schemas.string() + "'").status, 0);
    const std::string environment = "GSETTINGS_SCHEMA_DIR='" + schemas.string() + "'";

    const test::CommandResult result =
        runTool(environment + " XDG_CURRENT_DESKTOP=GNOME", "set '" + picture_.string() + "'");

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "gnome\n");
    EXPECT_EQ(test::runCommand(environment + " gsettings get org.gnome.desktop.background picture-uri").output,
              "'file://" + picture_.string() + "'\n");
}

}  // namespace
}  // namespace tavlo::wallpaper
