// The gradient bands, the picture fit and the key-colour blend.
#include "PaintRoutines.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace tavlo::calendar {
namespace {

std::vector<int> redColumn(int height, int steps, QColor start, QColor end) {
    QImage image(1, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        FillGradient(painter, image.rect(), steps, start, end);
    }
    std::vector<int> reds;
    for (int y = 0; y < height; ++y) reds.push_back(image.pixelColor(0, y).red());
    return reds;
}

TEST(FillGradient, BandsAndColoursRoundHalvesToEven) {
    struct Case {
        int height, steps, startRed, endRed;
        std::vector<int> reds;
    } cases[] = {
        {4, 4, 0, 100, {25, 50, 75, 100}},     // each band one step away from the start
        {2, 4, 0, 100, {50, 75}},              // band bounds 0.5 and 1.5 round to 0 and 2
        {4, 4, 0, 2, {0, 1, 2, 2}},            // colour steps 0.5 and 1.5 round to 0 and 2
        {3, 256, 200, 100, {183, 150, 116}},   // later bands round to empty ones
        {4, 0, 0, 100, {255, 255, 255, 255}},  // no steps: nothing drawn
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " px in " << c.steps << " steps");
        EXPECT_EQ(redColumn(c.height, c.steps, QColor(c.startRed, 0, 0), QColor(c.endRed, 0, 0)), c.reds);
    }
}

TEST(FitPictureRect, KeepsTheAspectRatioAndTruncates) {
    struct Case {
        int pw, ph, bw, bh;
        bool centre;
        QRect expected;
    } cases[] = {
        {200, 100, 100, 100, false, {0, 0, 100, 50}},
        {200, 100, 100, 100, true, {0, 25, 100, 50}},
        {100, 200, 100, 100, true, {25, 0, 50, 100}},
        {300, 100, 100, 20, false, {0, 0, 60, 20}},  // too high at full width: fitted to the height
        {50, 50, 80, 60, true, {10, 0, 60, 60}},
        {3, 2, 10, 10, false, {0, 0, 10, 6}},  // 6.67 cut to 6
        {1, 3, 100, 30, false, {0, 0, 10, 30}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitPictureRect(c.pw, c.ph, c.bw, c.bh, c.centre), c.expected)
            << c.pw << "x" << c.ph << " in " << c.bw << "x" << c.bh;
    }
}

TEST(BlendPicture, MixesByAlphaModuloHundredAndSkipsTheKeyColour) {
    const QColor grey(100, 100, 100), colour(200, 0, 50);
    struct Case {
        int alpha;
        QColor key;
        QColor mixed;  // what the coloured pixel becomes
    } cases[] = {
        {50, Qt::white, QColor(150, 50, 75)},
        {150, Qt::white, QColor(150, 50, 75)},
        {100, Qt::white, grey},
        {0, Qt::white, grey},
        {99, Qt::white, QColor(199, 1, 50)},
        {255, Qt::white, QColor(155, 45, 72)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alpha " << c.alpha);
        QImage back(2, 2, QImage::Format_RGB32);
        back.fill(grey);
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(c.key);
        picture.setPixelColor(1, 0, colour);
        picture.setPixelColor(1, 1, Qt::black);
        BlendPicture(back, picture, c.alpha);
        EXPECT_EQ(back.pixelColor(0, 0), grey);  // the key colour leaves the background alone
        EXPECT_EQ(back.pixelColor(0, 1), grey);
        EXPECT_EQ(back.pixelColor(1, 0), c.mixed);
    }
}

TEST(BlendPicture, TheCornerColourOfTheCoveringPictureVanishesEverywhere) {
    QImage back(3, 1, QImage::Format_RGB32);
    back.fill(QColor(100, 100, 100));
    QImage picture(3, 1, QImage::Format_RGB32);
    picture.setPixelColor(0, 0, Qt::red);
    picture.setPixelColor(1, 0, Qt::white);
    picture.setPixelColor(2, 0, Qt::red);
    BlendPicture(back, picture, 50);
    EXPECT_EQ(back.pixelColor(0, 0), QColor(100, 100, 100));
    EXPECT_EQ(back.pixelColor(1, 0), QColor(177, 177, 177));
    EXPECT_EQ(back.pixelColor(2, 0), QColor(100, 100, 100));
}

}  // namespace
}  // namespace tavlo::calendar
