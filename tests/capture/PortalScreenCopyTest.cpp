// The portal backend on a private session bus, against a stand-in portal
// that answers with the real request object and Response signal.
#include "ChildProcess.h"
#include "MissingTool.h"
#include "PictureEncoders.h"
#include "PortalScreenCopy.h"
#include "PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tavlo::screencopy {
namespace {

constexpr int kWidth = 6, kHeight = 4;

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

    std::string errorOf(PortalScreenCopy&& copy) {
        try {
            copy.CopyScreen(kWidth, kHeight);
        } catch (const ScreenCopyError& error) {
            return error.what();
        }
        return "(no error)";
    }

    test::TempFolder folder_;
    std::filesystem::path picture_ = folder_ / "screen.png";
    std::filesystem::path record_ = folder_ / "calls.txt";
    std::unique_ptr<test::ChildProcess> portal_;
};

TEST_F(PortalScreenCopyTest, AsksWithoutDialogReadsThePictureAndRemovesItsFile) {
    ASSERT_TRUE(startPortal("ok"));
    PortalScreenCopy copy;
    const ScreenPicture picture = copy.CopyScreen(kWidth - 1, kHeight + 1);
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

    copy.CopyScreen(kWidth, kHeight);  // a second request has a token of its own
    ASSERT_EQ(calls().size(), 2u);
    EXPECT_NE(calls()[1][1], received[0][1]);
}

TEST_F(PortalScreenCopyTest, RefusalsErrorsAndSilenceFailWithAReason) {
    struct Case {
        const char* mode;
        const char* error;
    } cases[] = {
        {"refuse", "portal: the screenshot was refused"},
        {"error", "portal: Screenshot failed: Screenshots are not allowed"},
        {"silent", "portal: no answer to the screenshot request"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_TRUE(startPortal(c.mode));
        EXPECT_EQ(errorOf(PortalScreenCopy(std::chrono::milliseconds(300))), c.error);
        portal_.reset();
    }
}

TEST_F(PortalScreenCopyTest, NoPortalOnTheBusFails) {
    EXPECT_NE(errorOf(PortalScreenCopy(std::chrono::milliseconds(2000))).find("portal: Screenshot failed"),
              std::string::npos);
}

}  // namespace
}  // namespace tavlo::screencopy
