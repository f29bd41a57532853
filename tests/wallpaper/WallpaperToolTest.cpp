// tavlo-wallpaper as a user runs it, with the session described by the
// environment, on the test's private session bus.
#include "ChildProcess.h"
#include "MissingTool.h"
#include "PrivateSessionBus.h"

#include "BmpFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

// The session variables of the machine running the tests must not leak in.
const std::string kCleanSession =
    "env -u DISPLAY -u WAYLAND_DISPLAY -u SWAYSOCK -u XDG_SESSION_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION "
    "-u GNOME_DESKTOP_SESSION_ID -u MATE_DESKTOP_SESSION_ID -u XDG_CURRENT_DESKTOP ";

const std::string kUsage = "用法：tavlo-wallpaper [--folder 程序文件夹] [--mode 方式] [--verbose]";

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

test::CommandResult runTool(const std::string& environment, const std::string& arguments,
                            const std::string& streams = "2>&1") {
    return test::runCommand(kCleanSession + environment + " '" TAVLO_WALLPAPER_TOOL "' " + arguments + " " + streams);
}

std::string failure(const std::string& cause, const fs::path& picture) {
    return "tavlo-wallpaper: 无法设置桌面壁纸：" + cause + "。\n壁纸图片保存在：\n" + picture.string() +
           "\n可以在桌面的设置中把这张图片选为壁纸。\n";
}

std::string setting(const std::string& environment, const std::string& schema, const std::string& key) {
    return test::runCommand(environment + " gsettings get " + schema + " " + key).output;
}

// A schema folder holding `schema` (a GSettings schema list), compiled.
std::string schemaFolder(const fs::path& folder, const std::string& id, const std::string& schema) {
    fs::create_directories(folder);
    std::ofstream(folder / (id + ".gschema.xml")) << schema;
    EXPECT_EQ(test::runCommand("glib-compile-schemas " + quoted(folder)).status, 0);
    return "GSETTINGS_SCHEMA_DIR=" + quoted(folder);
}

class WallpaperToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(test::PrivateSessionBus::instance(), "dbus-daemon");
        TAVLO_REQUIRE_TOOL(test::programInPath("gsettings"), "gsettings");
        picture_ = folder_ / "Mix.bmp";
        imaging::writeBmp(imaging::Bitmap(4, 2, 24), picture_);
    }

    test::TempFolder folder_;
    fs::path picture_;
};

TEST_F(WallpaperToolTest, BackendTellsWhichAndWhy) {
    const test::CommandResult result = runTool("XDG_CURRENT_DESKTOP=ubuntu:GNOME", "backend");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "gnome: XDG_CURRENT_DESKTOP=ubuntu:GNOME 表示 GNOME 桌面\n");
}

TEST_F(WallpaperToolTest, HelpAndVersionGoToStandardOutput) {
    const test::CommandResult help = runTool("", "--help", "2>/dev/null");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("用法：tavlo-wallpaper", 0), 0u) << help.output;
    EXPECT_NE(help.output.find("restore"), std::string::npos);
    const test::CommandResult version = runTool("", "--version", "2>/dev/null");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output.rfind("tavlo-wallpaper ", 0), 0u) << version.output;
}

TEST_F(WallpaperToolTest, FailuresAreToldInChineseWithWhereThePictureIs) {
    const fs::path missing = folder_ / "missing.bmp";
    const fs::path notPicture = folder_ / "notes.txt";
    test::writeFileBytes(notPicture, "not a picture");
    struct Case {
        std::string environment, arguments;
        int status;
        std::string output;
    };
    const Case cases[] = {
        {"", "set", 2, "tavlo-wallpaper: 缺少参数\n" + kUsage + " set 图片文件\n"},
        {"", "--bogus backend", 2,
         "tavlo-wallpaper: 未知的选项：--bogus\n" + kUsage + " {set|next|previous|schedule|backend|restore} [参数…]\n"},
        {"XDG_CURRENT_DESKTOP=GNOME", "set " + quoted(missing), 1,
         "tavlo-wallpaper: 没有找到图片文件：" + missing.string() + "\n"},
        {"", "set " + quoted(picture_), 1, failure("没有图形会话：DISPLAY 和 WAYLAND_DISPLAY 都没有设置", picture_)},
        {"XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=memory", "set " + quoted(picture_), 1,
         failure("没有可用的桌面设置存储（dconf），桌面看不到新的设置", picture_)},
        {"XDG_CURRENT_DESKTOP=sway", "set " + quoted(picture_), 1,
         failure("没有设置 SWAYSOCK，无法连接 sway", picture_)},
        {"XDG_CURRENT_DESKTOP=Enlightenment DISPLAY=:9", "set " + quoted(picture_), 1,
         failure("XDG_CURRENT_DESKTOP=Enlightenment 的桌面自己绘制背景，本程序无法更换它的壁纸", picture_)},
        // A file that is no picture: choosing it in the desktop's settings would not help either.
        {"DISPLAY=:9", "set " + quoted(notPicture), 1,
         "tavlo-wallpaper: 无法设置桌面壁纸：无法读取壁纸图片。\n图片：\n" + notPicture.string() + "\n"},
        {"", "schedule every", 2,
         "tavlo-wallpaper: 不认识的自动更换设定\n" + kUsage +
             " schedule off|every 分钟|daily 时:分|login|pause|resume|status\n"},
        {"", "schedule daily 25:00", 2,
         "tavlo-wallpaper: 不认识的自动更换设定\n" + kUsage +
             " schedule off|every 分钟|daily 时:分|login|pause|resume|status\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.environment + " " + c.arguments);
        const test::CommandResult result = runTool(c.environment, c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.output, c.output);
    }
}

// GIO drops a write the settings store never received, with a warning only;
// the tool says so in its own words, and GLib's warning only with --verbose.
TEST_F(WallpaperToolTest, AWriteTheSettingsStoreLostIsAFailure) {
    const std::string environment = "XDG_CURRENT_DESKTOP=GNOME DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent";
    const std::string text = failure(
        "桌面设置存储没有保存 org.gnome.desktop.background picture-uri（会话总线上的设置服务没有运行？）", picture_);

    const test::CommandResult result = runTool(environment, "set " + quoted(picture_));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, text);

    const test::CommandResult verbose = runTool(environment, "--verbose set " + quoted(picture_));
    EXPECT_EQ(verbose.status, 1);
    // GLib's warning comes from a worker thread, before or after the tool's text.
    EXPECT_NE(("\n" + verbose.output).find("\n" + text), std::string::npos) << verbose.output;
    EXPECT_GT(verbose.output.size(), text.size()) << verbose.output;
}

// Before GNOME 42 the schema had no dark-style picture.
TEST_F(WallpaperToolTest, SetsAGnomeWhoseSchemaHasNoDarkPicture) {
    TAVLO_REQUIRE_TOOL(test::programInPath("glib-compile-schemas"), "glib-compile-schemas");
    const std::string environment = schemaFolder(
        folder_ / "schemas", "org.gnome.desktop.background",
        "<schemalist><schema id='org.gnome.desktop.background' path='/org/gnome/desktop/background/'>"
        "<key name='picture-uri' type='s'><default>''</default></key>"
        "<key name='picture-options' type='s'><choices><choice value='zoom'/><choice value='stretched'/></choices>"
        "<default>'zoom'</default></key>"
        "</schema></schemalist>");

    const test::CommandResult result = runTool(environment + " XDG_CURRENT_DESKTOP=GNOME", "set " + quoted(picture_));

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "gnome\n");
    EXPECT_EQ(setting(environment, "org.gnome.desktop.background", "picture-uri"),
              "'file://" + picture_.string() + "'\n");
}

// UKUI's desktop of Debian 12 reads MATE's keys; newer ones have a schema of
// their own. Whichever is installed is written.
TEST_F(WallpaperToolTest, UkuiGetsTheKeysItsDesktopReads) {
    TAVLO_REQUIRE_TOOL(test::programInPath("glib-compile-schemas"), "glib-compile-schemas");
    const test::CommandResult older = runTool("XDG_CURRENT_DESKTOP=UKUI", "set " + quoted(picture_));
    EXPECT_EQ(older.status, 0) << older.output;
    EXPECT_EQ(setting("", "org.mate.background", "picture-filename"), "'" + picture_.string() + "'\n");
    EXPECT_EQ(setting("", "org.mate.background", "picture-options"), "'stretched'\n");

    const std::string newer = schemaFolder(
        folder_ / "schemas", "org.ukui.background",
        "<schemalist><schema id='org.ukui.background' path='/org/ukui/desktop/background/'>"
        "<key name='picture-filename' type='s'><default>''</default></key>"
        "<key name='picture-uri' type='s'><default>''</default></key>"
        "<key name='picture-options' type='s'><choices><choice value='zoom'/><choice value='stretched'/></choices>"
        "<default>'zoom'</default></key>"
        "</schema></schemalist>");
    const fs::path second = folder_ / "second.bmp";
    fs::copy_file(picture_, second);
    const test::CommandResult result = runTool(newer + " XDG_CURRENT_DESKTOP=UKUI", "set " + quoted(second));
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, "ukui\n");
    EXPECT_EQ(setting(newer, "org.ukui.background", "picture-filename"), "'" + second.string() + "'\n");
    EXPECT_EQ(setting(newer, "org.ukui.background", "picture-uri"), "'file://" + second.string() + "'\n");
    EXPECT_EQ(setting(newer, "org.ukui.background", "picture-options"), "'stretched'\n");
    EXPECT_EQ(setting(newer, "org.mate.background", "picture-filename"), "'" + second.string() + "'\n");
}

// A painted root is gone with the X server: the picture is remembered and an
// autostart entry sets it again at login, until a desktop that keeps the
// wallpaper itself is used.
TEST_F(WallpaperToolTest, ARootThatForgetsIsRestoredAtLoginUntilADesktopKeepsIt) {
    TAVLO_REQUIRE_TOOL(test::programInPath("Xvfb"), "Xvfb");
    std::unique_ptr<test::ChildProcess> server;
    const std::optional<std::string> display = test::startXvfb(server, "64x48x24", {"-noreset"});
    ASSERT_TRUE(display);
    const fs::path program = folder_ / "程序 \"folder\"";
    const fs::path entry = fs::path(std::getenv("XDG_CONFIG_HOME")) / "autostart" / "tavlo-wallpaper.desktop";
    const std::string folderOption = "--folder " + quoted(program);

    const test::CommandResult set = runTool("DISPLAY=" + *display, folderOption + " set " + quoted(picture_));
    EXPECT_EQ(set.status, 0) << set.output;
    EXPECT_EQ(set.output, "x11\n");
    ASSERT_TRUE(fs::exists(entry));
    EXPECT_EQ(test::readFileBytes(entry),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Tavlo助手壁纸\n"
              "Comment=登录时重新设置 Tavlo助手 的桌面壁纸\n"
              "Exec=\"" +
                  folder_.path().string() +
                  "/程序 \\\\\"folder\\\\\"/tavlo-wallpaper\" restore\n"
                  "NoDisplay=true\n"
                  "X-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(test::readFileBytes(program / "Data" / "Wallpaper.ini"), picture_.string() + "\r\n");

    // The next login: a new X server with a bare root.
    server.reset();
    const std::optional<std::string> next = test::startXvfb(server, "64x48x24", {"-noreset"});
    ASSERT_TRUE(next);
    const test::CommandResult restored = runTool("DISPLAY=" + *next, folderOption + " restore");
    EXPECT_EQ(restored.status, 0) << restored.output;
    EXPECT_EQ(restored.output, "x11\n");
    EXPECT_NE(test::runCommand("DISPLAY=" + *next + " xprop -root _XROOTPMAP_ID").output.find("pixmap id"),
              std::string::npos);

    const test::CommandResult kept = runTool("XDG_CURRENT_DESKTOP=GNOME", folderOption + " set " + quoted(picture_));
    EXPECT_EQ(kept.status, 0) << kept.output;
    EXPECT_FALSE(fs::exists(entry));
    const test::CommandResult nothing = runTool("DISPLAY=" + *next, folderOption + " restore");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.output, "tavlo-wallpaper: 还没有设置过壁纸，没有可以恢复的图片\n");
}

// The wallpaper is set all the same, but no login entry is promised that no
// desktop would run (a folder whose path is not UTF-8) and no picture is
// remembered that its line could not hold (a path with a line break).
TEST_F(WallpaperToolTest, WhatALoginCouldNotRestoreIsNotRemembered) {
    TAVLO_REQUIRE_TOOL(test::programInPath("Xvfb"), "Xvfb");
    std::unique_ptr<test::ChildProcess> server;
    const std::optional<std::string> display = test::startXvfb(server, "64x48x24", {"-noreset"});
    ASSERT_TRUE(display);
    const fs::path entry = fs::path(std::getenv("XDG_CONFIG_HOME")) / "autostart" / "tavlo-wallpaper.desktop";
    fs::remove(entry);

    const fs::path latin1 = folder_ / "caf\xe9";
    const test::CommandResult set =
        runTool("DISPLAY=" + *display, "--folder " + quoted(latin1) + " set " + quoted(picture_));
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.output,
              "壁纸已经设置，但下次登录时不会自动恢复：程序文件夹的路径不是 UTF-8 编码，桌面不会执行登录项\nx11\n");
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(fs::exists(latin1 / "Data" / "Wallpaper.ini"));

    const fs::path broken = folder_ / "a\nb";
    fs::create_directories(broken);
    imaging::writeBmp(imaging::Bitmap(4, 2, 24), broken / "Mix.bmp");
    const fs::path program = folder_ / "程序";
    const test::CommandResult second =
        runTool("DISPLAY=" + *display, "--folder " + quoted(program) + " set " + quoted(broken / "Mix.bmp"));
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.output,
              "壁纸已经设置，但下次登录时不会自动恢复：图片的路径中有换行符，登录时无法恢复这张壁纸\nx11\n");
    EXPECT_FALSE(fs::exists(program / "Data" / "Wallpaper.ini"));
    EXPECT_FALSE(fs::exists(entry));
}

}  // namespace
}  // namespace tavlo::wallpaper
