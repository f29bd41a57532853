// The main window's logic that needs no window: date line, geometry file,
// confirmation setting, site address and bitmap conversion.
#include "DateLine.h"
#include "FormGeometry.h"
#include "LogLines.h"
#include "SiteAddress.h"
#include "StartupSettings.h"
#include "TempFolder.h"
#include "Widgets.h"
#include "WindowingTraits.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

using namespace std::chrono;
using tavlo::ProgramFolder;
using tavlo::test::LogLines;
using tavlo::test::readFileBytes;
using tavlo::test::TempFolder;
using tavlo::test::writeFileBytes;
namespace app = tavlo::app;

TEST(DateLine, ComposesYearMonthDayAndIsoWeekday) {
    const struct {
        year_month_day date;
        const char* text;
    } cases[] = {
        {2010y / June / 1, "今天是 2010年6月1日(二)"},        {2011y / January / 9, "今天是 2011年1月9日(日)"},
        {2023y / December / 31, "今天是 2023年12月31日(日)"}, {2024y / January / 1, "今天是 2024年1月1日(一)"},
        {2024y / February / 29, "今天是 2024年2月29日(四)"},  {2025y / October / 11, "今天是 2025年10月11日(六)"},
    };
    for (const auto& c : cases) EXPECT_EQ(app::composeDateLine(c.date), c.text);
}

TEST(FormGeometry, FirstRunCentresOnTheScreenTruncatingTowardZero) {
    const struct {
        int screenWidth, screenHeight, left, top;
    } cases[] = {
        {1920, 1080, 545, 275}, {800, 600, -15, 35},  {799, 600, -15, 35},  // -31 / 2 is -15, not -16
        {1366, 768, 268, 119},  {640, 480, -95, -25},
    };
    for (const auto& c : cases) {
        const app::FormGeometry g = app::firstRunGeometry(c.screenWidth, c.screenHeight);
        EXPECT_EQ(g, (app::FormGeometry{1, 830, 500, c.left, c.top})) << c.screenWidth << "x" << c.screenHeight;
    }
}

TEST(FormGeometry, LinesAreUsedAsReadAndBadOrMissingOnesTakeFirstRunValues) {
    const app::FormGeometry firstRun = app::firstRunGeometry(1920, 1080);
    const struct {
        std::vector<std::string> lines;
        app::FormGeometry expected;
    } cases[] = {
        {{"1", "900", "600", "-2000", "100"}, {1, 900, 600, -2000, 100}},
        {{"3", "1000", "700", "100", "120", "extra"}, {3, 1000, 700, 100, 120}},
        {{"2", "900"}, {2, 900, 500, 545, 275}},
        {{}, firstRun},
        {{"x", "900", "", "12.5", " 40 "}, {1, 900, 500, 545, 40}},
        {{"0", "0", "-5", "99999999999", "7"}, {0, 0, -5, 545, 7}},
    };
    for (const auto& c : cases) EXPECT_EQ(app::geometryFromLines(c.lines, firstRun), c.expected);
}

TEST(FormGeometry, AFirstRunIsToldApartAndReadsLeaveTheFileAlone) {
    TempFolder temp;
    const ProgramFolder folder(temp.path());
    const auto file = temp / "Data/FormSize.ini";

    const app::LoadedGeometry first = app::readFormSize(folder, 1920, 1080);
    EXPECT_TRUE(first.firstRun);
    EXPECT_EQ(first.geometry, app::firstRunGeometry(1920, 1080));
    EXPECT_FALSE(std::filesystem::exists(file));

    writeFileBytes(file, "4\r\n900\r\nabc\r\n");
    const app::LoadedGeometry second = app::readFormSize(folder, 800, 600);
    EXPECT_FALSE(second.firstRun);
    EXPECT_EQ(second.geometry, (app::FormGeometry{4, 900, 500, -15, 35}));
    EXPECT_EQ(readFileBytes(file), "4\r\n900\r\nabc\r\n");

    app::saveFormSize(folder, {2, 1000, 700, -100, 120});
    EXPECT_EQ(readFileBytes(file), "2\r\n1000\r\n700\r\n-100\r\n120\r\n");
}

TEST(FormGeometry, FitsTheScreenAreaAtNoLessThanTheMinimum) {
    const app::ScreenArea hd{0, 0, 1920, 1040};  // a 40-pixel panel at the bottom
    const struct {
        app::FormGeometry geometry;
        app::ScreenArea area;
        app::FormGeometry fitted;
    } cases[] = {
        {{1, 830, 500, 545, 275}, hd, {1, 830, 500, 545, 275}},
        {{1, 30, 1, 100, 100}, hd, {1, 700, 466, 100, 100}},       // raised to the minimum
        {{1, 30000, 20000, 0, 0}, hd, {1, 1920, 1040, 0, 0}},      // no larger than the area
        {{1, 900, 600, -2000, 100}, hd, {1, 900, 600, 0, 100}},    // back onto the screen
        {{1, 900, 600, 1800, 900}, hd, {1, 900, 600, 1020, 440}},  // right and bottom edges
        {{1, 900, 600, 2147483647, -2147483647 - 1}, hd, {1, 900, 600, 1020, 0}},
        {{1, 830, 500, -15, 35}, {0, 0, 800, 600}, {1, 800, 500, 0, 35}},
        {{1, 830, 500, 50, 50}, {0, 0, 640, 400}, {1, 700, 466, 0, 0}},          // the minimum wins
        {{1, 830, 500, 0, 0}, {1920, 30, 1280, 1024}, {1, 830, 500, 1920, 30}},  // a second screen's area
    };
    for (const auto& c : cases) EXPECT_EQ(app::fitToScreen(c.geometry, c.area), c.fitted) << c.geometry.left;
}

TEST(ApplyConfirmation, FirstLineDecidesAndAMissingFileIsCreated) {
    const struct {
        const char* content;  // nullptr: no file
        bool confirm;
        const char* after;
    } cases[] = {
        {nullptr, true, "1\r\n"},
        {"1\r\n", true, "1\r\n"},
        {"0\r\n", false, "0\r\n"},
        {"-3\r\n", false, "-3\r\n"},
        {"2", true, "2"},
        {"0\r\n1\r\n", false, "0\r\n1\r\n"},
        // Not an integer, or no line at all: confirmation stays on and the
        // file is left as it is.
        {"abc\r\n", true, "abc\r\n"},
        {"", true, ""},
        {"\r\n", true, "\r\n"},
    };
    for (const auto& c : cases) {
        TempFolder temp;
        tavlo::GlobalState state{ProgramFolder(temp.path())};
        state.ConfirmApply = !c.confirm;
        state.ApplyConfirmed = 1;
        const auto file = temp / "Data/configSetBg.ini";
        if (c.content) writeFileBytes(file, c.content);
        app::loadApplyConfirmation(state);
        EXPECT_EQ(state.ConfirmApply, c.confirm) << (c.content ? c.content : "(missing)");
        EXPECT_EQ(state.ApplyConfirmed, 0);
        EXPECT_EQ(state.ConfigSetBgPath, file);
        EXPECT_EQ(readFileBytes(file), c.after);
    }
}

// A pipe in the setting's place (which nobody writes) reads as a missing file:
// confirmation stays on in memory, and start-up goes on without an error, as
// the pipe is not replaced by the default.
TEST(ApplyConfirmation, APipeInPlaceOfTheFileKeepsTheDefaultWithoutAnError) {
    TempFolder temp;
    tavlo::GlobalState state{ProgramFolder(temp.path())};
    state.ConfirmApply = false;
    std::filesystem::create_directories(temp / "Data");
    const auto file = temp / "Data/configSetBg.ini";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_NO_THROW(app::loadApplyConfirmation(state));
    EXPECT_TRUE(state.ConfirmApply);
    EXPECT_TRUE(std::filesystem::is_fifo(file));
}

TEST(SiteAddress, TakesWebAddressesAndFoldersOfItsOwnSiteOnly) {
    TempFolder temp;
    const ProgramFolder folder(temp.path());
    const QString shipped = QUrl::fromLocalFile(QString::fromStdString((temp / "site").string())).toString();
    LogLines log("tavlo.site");
    EXPECT_EQ(app::SiteAddress(folder).page(app::SiteAddress::kStartPage).toString(), shipped + "/rs/Tavlo.htm");

    const auto setting = temp / "Data/WebSite.ini";
    const std::string inside = "file://" + (temp / "site/v2/").string();
    const struct {
        std::string line;
        QString help;  // empty: the shipped pages, with a line in the log
    } cases[] = {
        {"https://tavlo.example/\r\n", "https://tavlo.example/help4/tavloa.htm"},
        {"HTTP://127.0.0.1:8080/site\r\n", "http://127.0.0.1:8080/site/help4/tavloa.htm"},
        {"site/v2\r\n", shipped + "/v2/help4/tavloa.htm"},
        {inside + "\r\n", shipped + "/v2/help4/tavloa.htm"},
        {(temp / "site").string(), shipped + "/help4/tavloa.htm"},
        {"\r\n", shipped + "/help4/tavloa.htm"},
        {"", shipped + "/help4/tavloa.htm"},
        {"javascript:alert(1)\r\n", ""},
        {"file:///etc/passwd\r\n", ""},
        {"/etc\r\n", ""},
        {"pages\r\n", ""},
        {"site/../../etc\r\n", ""},
        {"sites\r\n", ""},
        {"data:text/html,<script>alert(1)</script>\r\n", ""},
        {"ftp://tavlo.example/\r\n", ""},
        {"http:///no-host\r\n", ""},
        {"file://server/share/\r\n", ""},
    };
    for (const auto& c : cases) {
        writeFileBytes(setting, c.line);
        const QString expected = c.help.isEmpty() ? shipped + "/help4/tavloa.htm" : c.help;
        EXPECT_EQ(app::SiteAddress(folder).page(app::SiteAddress::kHelpPage).toString(), expected) << c.line;
        EXPECT_EQ(log.take().size(), c.help.isEmpty() ? 1 : 0) << c.line;
    }
}

TEST(SiteAddress, APageThatALinkTakesOutOfTheSiteIsNotOpened) {
    TempFolder temp;
    const ProgramFolder folder(temp.path());
    std::filesystem::create_directories(temp / "site/help4");
    std::filesystem::create_directories(temp / "private");
    writeFileBytes(temp / "private/secret.htm", "private");
    std::filesystem::create_directory_symlink(temp / "private", temp / "site/rs");
    std::filesystem::create_symlink(temp / "private/secret.htm", temp / "site/help4/tavloa.htm");
    writeFileBytes(temp / "site/help4/tavlob.htm", "feedback");
    LogLines log("tavlo.site");
    const app::SiteAddress site(folder);
    EXPECT_EQ(site.page(app::SiteAddress::kStartPage).toString(), "about:blank");
    EXPECT_EQ(site.page(app::SiteAddress::kHelpPage).toString(), "about:blank");
    EXPECT_EQ(log.take().size(), 2u);
    EXPECT_TRUE(site.page(app::SiteAddress::kFeedbackPage).toString().endsWith("/site/help4/tavlob.htm"));
    EXPECT_TRUE(log.take().empty());
}

// A program folder whose name is not UTF-8 (GBK here) is addressed by its
// own bytes.
TEST(SiteAddress, AddressesAFolderThatIsNotUtf8ByItsBytes) {
    TempFolder temp;
    const ProgramFolder folder(temp / "\xD5\xC5\xC8\xFD");
    const QUrl start = app::SiteAddress(folder).page(app::SiteAddress::kStartPage);
    EXPECT_EQ(start.toEncoded().toStdString(), "file://" + temp.path().string() + "/%D5%C5%C8%FD/site/rs/Tavlo.htm");
}

TEST(BitmapQt, ConvertsEveryPixelFormatAndDrawsTransparencyOverWhite) {
    tavlo::imaging::Bitmap bgr(3, 2, 24);
    bgr.row(0)[0] = 10, bgr.row(0)[1] = 20, bgr.row(0)[2] = 30;  // blue, green, red
    bgr.row(1)[6] = 255;
    const QImage image = app::toQImage(bgr);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(30, 20, 10));
    EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 255));
    EXPECT_EQ(app::fromQImage(image).pixels(), bgr.pixels());

    tavlo::imaging::Bitmap indexed(2, 1, 8);
    indexed.palette = {{0, 0, 0, 0}, {200, 100, 50, 0}};
    indexed.row(0)[1] = 1;
    EXPECT_EQ(app::toQImage(indexed).pixel(1, 0), qRgb(50, 100, 200));

    QImage translucent(3, 1, QImage::Format_ARGB32);
    translucent.setPixel(0, 0, qRgba(255, 0, 0, 0));
    translucent.setPixel(1, 0, qRgba(255, 0, 0, 255));
    translucent.setPixel(2, 0, qRgba(0, 0, 255, 128));
    const tavlo::imaging::Bitmap flat = app::fromQImage(translucent);
    ASSERT_EQ(flat.bitsPerPixel(), 24);
    const std::uint8_t* p = flat.row(0);
    EXPECT_EQ(std::vector<int>(p, p + 9), (std::vector<int>{255, 255, 255, 0, 0, 255, 255, 127, 127}));

    EXPECT_TRUE(app::toQImage(tavlo::imaging::Bitmap()).isNull());
    EXPECT_TRUE(app::fromQImage(QImage()).empty());
}

TEST(WindowingTraits, ComeFromThePlatformAndTheSessionsEnvironment) {
    struct Case {
        const char* platform;
        std::map<std::string, std::string> environment;
        bool tiling, positionKnown;
    } cases[] = {
        {"xcb", {}, false, true},
        {"wayland", {}, false, false},
        {"wayland-egl", {{"XDG_CURRENT_DESKTOP", "GNOME"}}, false, false},
        {"xcb", {{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}}, false, true},
        {"xcb", {{"SWAYSOCK", "/run/user/1000/sway-ipc.sock"}}, true, true},
        {"wayland", {{"XDG_CURRENT_DESKTOP", "sway"}}, true, false},
        {"xcb", {{"I3SOCK", "/tmp/i3"}}, true, true},
        {"xcb", {{"XDG_CURRENT_DESKTOP", "i3"}}, true, true},
        {"wayland", {{"HYPRLAND_INSTANCE_SIGNATURE", "x"}}, true, false},
        {"xcb", {{"SWAYSOCK", ""}}, false, true},  // set but empty: no compositor
        {"offscreen", {}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.platform) + " " + (c.environment.empty() ? "" : c.environment.begin()->second));
        const app::WindowingTraits traits = app::windowingTraits(c.platform, [&c](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        });
        EXPECT_EQ(traits.tiling, c.tiling);
        EXPECT_EQ(traits.positionKnown, c.positionKnown);
    }
}
