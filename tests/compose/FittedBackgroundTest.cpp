#include "FittedBackground.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

using namespace tavlo;

namespace {

using Bgr = std::array<int, 3>;
constexpr Bgr kRed{0, 0, 255}, kBlue{255, 0, 0}, kPurple{128, 0, 128};

// 40 × 20: the left half red, the right half blue.
imaging::Bitmap halves() {
    imaging::Bitmap b(40, 20, 24);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            const Bgr& c = x < 20 ? kRed : kBlue;
            for (int i = 0; i < 3; ++i) b.row(y)[3 * x + i] = static_cast<std::uint8_t>(c[static_cast<std::size_t>(i)]);
        }
    return b;
}

Bgr at(const imaging::Bitmap& b, int x, int y) {
    const std::uint8_t* p = b.row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

struct Case {
    FitMode mode;
    int width, height;
    int x, y;
    Bgr expected;
};

// Each mode checked where its layout decides the colour: inside the picture
// away from the halves' border, and in the room it leaves.
TEST(FitBackground, EachModeLaysTheBackgroundWhereItBelongs) {
    const imaging::Bitmap background = halves();
    const Case cases[] = {
        // Stretch: both halves stay halves at any size.
        {FitMode::Stretch, 80, 20, 5, 10, kRed},
        {FitMode::Stretch, 80, 20, 75, 10, kBlue},
        {FitMode::Stretch, 20, 60, 2, 55, kRed},
        // Fill 20 × 20: the middle 20 columns; their left half red, right blue.
        {FitMode::Fill, 20, 20, 2, 10, kRed},
        {FitMode::Fill, 20, 20, 17, 10, kBlue},
        // Fit 40 × 40: the picture in rows 10..29; bars in the mean of the
        // top and bottom edges (half red, half blue).
        {FitMode::Fit, 40, 40, 5, 15, kRed},
        {FitMode::Fit, 40, 40, 35, 25, kBlue},
        {FitMode::Fit, 40, 40, 5, 3, kPurple},
        {FitMode::Fit, 40, 40, 35, 36, kPurple},
        // Fit 80 × 20: pillars beside it in the colours of the left and right edges.
        {FitMode::Fit, 80, 20, 3, 10, kRed},
        {FitMode::Fit, 80, 20, 77, 10, kBlue},
        // Center 60 × 30: at its own size from (10, 5).
        {FitMode::Center, 60, 30, 15, 10, kRed},
        {FitMode::Center, 60, 30, 45, 10, kBlue},
        {FitMode::Center, 60, 30, 2, 10, kRed},
        {FitMode::Center, 60, 30, 57, 10, kBlue},
        {FitMode::Center, 60, 30, 30, 1, kPurple},
        // Center 20 × 10, smaller than it: its middle, cut.
        {FitMode::Center, 20, 10, 5, 5, kRed},
        {FitMode::Center, 20, 10, 15, 5, kBlue},
        // Tile 100 × 50: repeated from the top-left corner.
        {FitMode::Tile, 100, 50, 45, 25, kRed},
        {FitMode::Tile, 100, 50, 65, 10, kBlue},
        {FitMode::Tile, 100, 50, 85, 45, kRed},
    };
    for (const Case& c : cases) {
        const imaging::Bitmap fitted = fitBackground(background, c.width, c.height, c.mode);
        ASSERT_EQ(std::tie(c.width, c.height), std::make_tuple(fitted.width(), fitted.height()));
        const Bgr seen = at(fitted, c.x, c.y);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(seen[i], c.expected[i], 2)
                << fitModeWord(c.mode) << " " << c.width << "x" << c.height << " at " << c.x << "," << c.y;
    }
}

TEST(FitBackground, AtItsOwnSizeEveryModeGivesTheBackgroundUnchanged) {
    const imaging::Bitmap background = halves();
    for (const FitMode mode : kFitModes) {
        const imaging::Bitmap fitted = fitBackground(background, 40, 20, mode);
        EXPECT_EQ(fitted.pixels(), background.pixels()) << fitModeWord(mode);
    }
}

TEST(FitBackground, ModeWordsReadBack) {
    for (const FitMode mode : kFitModes) EXPECT_EQ(fitModeFromWord(fitModeWord(mode)), mode);
    EXPECT_EQ(fitModeFromWord("stretched"), std::nullopt);
}

}  // namespace
