// The portal backend on a private session bus, against a stand-in portal
// that answers with the real request object and Response signal.
#include "ChildProcess.h"
#include "MissingTool.h"
#include "PictureEncoders.h"
#include "PortalScreenCopy.h"
#include "PrivateSessionBus.h"

#include <QEventLoop>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <variant>

namespace tavlo::screencopy {
namespace {

constexpr int kWidth = 6, kHeight = 4;

using GrabEnd = std::variant<ScreenStill, ScreenCopyError>;

// A primary screen of width × height window pixels at (0, 0) of a desktop
// as large as the portal's picture, at one physical pixel each.
ScreenLayout screenOf(int width, int height) {
    return {width, height, 1, 0, 0, kWidth, kHeight};
}

// Starts a grab and runs the event loop until it has ended.
GrabEnd grabNow(ScreenCopy& copy, const ScreenLayout& layout) {
    auto end = std::make_shared<std::optional<GrabEnd>>();
    QEventLoop loop;
    copy.grab(
        layout,
        [end, &loop](ScreenStill still) {
            *end = std::move(still);
            loop.quit();
        },
        [end, &loop](ScreenCopyError error) {
            *end = std::move(error);
            loop.quit();
        });
    if (!*end) loop.exec();
    return std::move(**end);
}

ScreenPicture pictureOf(GrabEnd end) {
    if (const auto* error = std::get_if<ScreenCopyError>(&end)) {
        ADD_FAILURE() << "the grab failed: " << error->what();
        return {};
    }
    return std::get<ScreenStill>(std::move(end)).picture;
}

std::uint32_t patternPixel(int x, int y) {
    return 0xFF000000u | std::uint32_t(40 * x) << 16 | std::uint32_t(60 * y) << 8 | std::uint32_t(x * y * 9);
}

class PortalScreenCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(test::PrivateSessionBus::instance(), "dbus-daemon");
        test::PngPicture png{kWidth, kHeight};
        for (int y = 0; y < kHeight; ++y) {
            test::Bytes row;
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t p = patternPixel(x, y);
                row.insert(row.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
            }
            png.rows.push_back(row);
        }
        const test::Bytes bytes = test::encodePng(png);
        test::writeFileBytes(picture_, std::string(bytes.begin(), bytes.end()));
    }

    // Starts the stand-in in `mode`; false when it did not come up.
    bool startPortal(const std::string& mode) {
        portal_ = std::make_unique<test::ChildProcess>(
            std::vector<std::string>{TAVLO_PORTAL_STANDIN, mode, picture_.string(), record_.string()});
        return portal_->readLine() == "ready";
    }

    // The calls the stand-in received, each as its tab-separated fields.
    std::vector<std::vector<std::string>> calls() const {
        std::vector<std::vector<std::string>> lines;
        std::ifstream file(record_);
        for (std::string line; std::getline(file, line);) {
            std::vector<std::string> fields;
            for (std::size_t start = 0;;) {
                const std::size_t tab = line.find('\t', start);
                fields.push_back(line.substr(start, tab - start));
                if (tab == std::string::npos) break;
                start = tab + 1;
            }
            lines.push_back(fields);
        }
        return lines;
    }

    // The error a copy ends in, with the packages it names; a copy that
    // succeeds is a test failure.
    static ScreenCopyError errorOf(PortalScreenCopy&& copy) {
        GrabEnd end = grabNow(copy, screenOf(kWidth, kHeight));
        if (auto* error = std::get_if<ScreenCopyError>(&end)) return std::move(*error);
        ADD_FAILURE() << "the copy did not fail";
        return ScreenCopyError("(no error)");
    }

    test::TempFolder folder_;
    std::filesystem::path picture_ = folder_ / "screen.png";
    std::filesystem::path record_ = folder_ / "calls.txt";
    std::unique_ptr<test::ChildProcess> portal_;
};

TEST_F(PortalScreenCopyTest, AsksWithoutDialogReadsThePictureAndRemovesItsFile) {
    ASSERT_TRUE(startPortal("ok"));
    PortalScreenCopy copy;
    const ScreenPicture picture = pictureOf(grabNow(copy, screenOf(kWidth - 1, kHeight + 1)));
    ASSERT_EQ(picture.width, kWidth - 1);
    ASSERT_EQ(picture.height, kHeight + 1);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth - 1; ++x) EXPECT_EQ(picture.pixel(x, y), patternPixel(x, y)) << x << "," << y;
    EXPECT_EQ(picture.pixel(0, kHeight), 0xFF000000u) << "below the screen: black";

    const auto received = calls();
    ASSERT_EQ(received.size(), 1u);
    ASSERT_EQ(received[0].size(), 5u);
    EXPECT_EQ(received[0][0], "");
    EXPECT_FALSE(received[0][1].empty());
    EXPECT_EQ(received[0][2], "false");
    EXPECT_EQ(received[0][3], "false");
    EXPECT_FALSE(std::filesystem::exists(received[0][4])) << "the portal's file is removed";

    pictureOf(grabNow(copy, screenOf(kWidth, kHeight)));  // a second request has a token of its own
    ASSERT_EQ(calls().size(), 2u);
    EXPECT_NE(calls()[1][1], received[0][1]);
}

// Nothing waits for the portal: its answer ends the grab from the event
// loop, after grab() has returned, and a copy destroyed before the answer
// ends its grab with neither call.
TEST_F(PortalScreenCopyTest, TheAnswerArrivesFromTheEventLoopAndADroppedGrabEndsSilently) {
    ASSERT_TRUE(startPortal("ok"));
    auto ends = std::make_shared<int>(0);
    const auto count = [ends](auto&&) { ++*ends; };
    auto dropped = std::make_unique<PortalScreenCopy>();
    dropped->grab(screenOf(kWidth, kHeight), count, count);
    EXPECT_EQ(*ends, 0) << "the grab waited for the portal's answer";
    dropped.reset();

    // The stand-in answers in order: once the second grab has its answer,
    // the first one's has arrived too.
    PortalScreenCopy copy;
    pictureOf(grabNow(copy, screenOf(kWidth, kHeight)));
    EXPECT_EQ(calls().size(), 2u);
    EXPECT_EQ(*ends, 0);
}

TEST_F(PortalScreenCopyTest, ThePrimaryScreenIsCutAtThePicturesOwnScale) {
    ASSERT_TRUE(startPortal("ok"));
    PortalScreenCopy copy;
    // The toolkit believes in a 3 × 2 desktop at ratio 1: the picture says 2.
    const GrabEnd end = grabNow(copy, {3, 2, 1, 0, 0, 3, 2});
    ASSERT_TRUE(std::holds_alternative<ScreenStill>(end));
    const ScreenStill& still = std::get<ScreenStill>(end);
    EXPECT_DOUBLE_EQ(still.ratio, 2);
    ASSERT_EQ(still.picture.width, kWidth);
    ASSERT_EQ(still.picture.height, kHeight);
    EXPECT_EQ(still.picture.pixel(kWidth - 1, kHeight - 1), patternPixel(kWidth - 1, kHeight - 1));
}

// Every way the portal can fail has a cause the user is told, and where a
// package is missing, which; the desktop's name picks the backend's package.
TEST_F(PortalScreenCopyTest, FailuresSayWhyAndNameThePackages) {
    const std::vector<std::string> wlroots{"xdg-desktop-portal-wlr", "xdg-desktop-portal-gtk"};
    struct Case {
        const char* mode;
        ScreenCopyCause cause;
        std::vector<std::string> packages;
    } cases[] = {
        {"refuse", ScreenCopyCause::ServiceFailed, wlroots},
        {"error", ScreenCopyCause::Refused, {}},
        {"silent", ScreenCopyCause::NoAnswer, {}},
        {"bare", ScreenCopyCause::NoScreenshotService, wlroots},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_TRUE(startPortal(c.mode));
        const ScreenCopyError error = errorOf(PortalScreenCopy(std::chrono::milliseconds(300), "sway"));
        EXPECT_EQ(error.cause(), c.cause) << error.what();
        EXPECT_EQ(error.packages(), c.packages);
        portal_.reset();
    }
}

// Whatever the machine's bus can start in the portal's place, the user is
// told which packages are missing; the bus's own words go to the log.
// What the bus has depends on the machine: no portal, a portal without a
// screenshot service, or one whose backend cannot start without a display.
// Each names what to install; the wait is long enough for a portal started
// on demand to say which.
TEST_F(PortalScreenCopyTest, NoWorkingPortalOnTheBusNamesPackages) {
    const ScreenCopyError error = errorOf(PortalScreenCopy(std::chrono::seconds(20), "KDE"));
    EXPECT_TRUE(error.cause() == ScreenCopyCause::NoPortal || error.cause() == ScreenCopyCause::NoScreenshotService ||
                error.cause() == ScreenCopyCause::ServiceFailed)
        << error.what();
    EXPECT_FALSE(error.packages().empty());
    EXPECT_NE(std::string(error.what()).find("org.freedesktop.DBus.Error."), std::string::npos) << error.what();
}

TEST(PortalCallError, TheBusErrorGivesTheCause) {
    const std::vector<std::string> backend{"xdg-desktop-portal-gnome"};
    const std::vector<std::string> portalAndBackend{"xdg-desktop-portal", "xdg-desktop-portal-gnome"};
    struct Case {
        const char* name;
        ScreenCopyCause cause;
        std::vector<std::string> packages;
    } cases[] = {
        {"org.freedesktop.DBus.Error.ServiceUnknown", ScreenCopyCause::NoPortal, portalAndBackend},
        {"org.freedesktop.DBus.Error.NameHasNoOwner", ScreenCopyCause::NoPortal, portalAndBackend},
        {"org.freedesktop.DBus.Error.UnknownMethod", ScreenCopyCause::NoScreenshotService, backend},
        {"org.freedesktop.DBus.Error.UnknownInterface", ScreenCopyCause::NoScreenshotService, backend},
        {"org.freedesktop.DBus.Error.Spawn.ChildExited", ScreenCopyCause::ServiceFailed, backend},
        {"org.freedesktop.DBus.Error.NoReply", ScreenCopyCause::NoAnswer, {}},
        {"org.freedesktop.portal.Error.NotAllowed", ScreenCopyCause::Refused, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScreenCopyError error = portalCallError(QString::fromLatin1(c.name), QStringLiteral("the text"), backend);
        EXPECT_EQ(error.cause(), c.cause);
        EXPECT_EQ(error.packages(), c.packages);
        EXPECT_EQ(std::string(error.what()), std::string("portal: Screenshot failed: ") + c.name + ": the text");
    }
}

TEST(PortalBackendPackages, FollowTheDesktop) {
    const std::vector<std::string> gnome{"xdg-desktop-portal-gnome"}, kde{"xdg-desktop-portal-kde"},
        wlroots{"xdg-desktop-portal-wlr", "xdg-desktop-portal-gtk"};
    EXPECT_EQ(portalBackendPackages("GNOME"), gnome);
    EXPECT_EQ(portalBackendPackages("ubuntu:GNOME"), gnome);
    EXPECT_EQ(portalBackendPackages("KDE"), kde);
    EXPECT_EQ(portalBackendPackages("sway"), wlroots);
    EXPECT_EQ(portalBackendPackages("Hyprland"), wlroots);
    EXPECT_EQ(portalBackendPackages(""), wlroots);
}

}  // namespace
}  // namespace tavlo::screencopy
