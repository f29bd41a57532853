// On a screen of device pixel ratio 2 the main window's pictures are drawn
// at the screen's pixels: their edges are as sharp as the art allows, not
// the 1× pictures scaled up.
#include "Artwork.h"
#include "ChnCalendarPicker.h"
#include "DateTimeValue.h"
#include "WindowTestSupport.h"

#include <QImage>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace tavlo;

namespace {

// How much the picture changes from pixel to pixel: sharp edges change at
// once, blurred ones spread the same change over several small steps, which
// sum to less as soon as the edge turns or meets another.
double edgeEnergy(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    double energy = 0;
    for (int y = 0; y + 1 < rgb.height(); ++y) {
        for (int x = 0; x + 1 < rgb.width(); ++x) {
            const QRgb here = rgb.pixel(x, y), right = rgb.pixel(x + 1, y), below = rgb.pixel(x, y + 1);
            const auto step = [](QRgb a, QRgb b) {
                const int d = std::abs(qGray(a) - qGray(b));
                return static_cast<double>(d * d);
            };
            energy += step(here, right) + step(here, below);
        }
    }
    return energy;
}

TEST(SharpArt, PicturesAreDrawnAtTheScreensPixels) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    ASSERT_EQ(w.devicePixelRatio(), 2);
    const struct {
        const char* control;
        const widgets::ArtworkPiece& art;
    } pieces[] = {
        {"imgLogo", widgets::art::logo},
        {"imgAppToDesk", widgets::art::apply},
        {"imgAddToDesk", widgets::art::addBackground},
        {"img_close_normal", widgets::art::closeNormal},
    };
    for (const auto& p : pieces) {
        SCOPED_TRACE(p.control);
        QWidget* control = test::control(w, p.control);
        ASSERT_EQ(control->size(), p.art.size);
        const QImage shown = control->grab().toImage();
        ASSERT_EQ(shown.size(), p.art.size * 2);
        const QImage scaledUp = widgets::renderArtwork(p.art, 1).toImage().scaled(p.art.size * 2, Qt::IgnoreAspectRatio,
                                                                                  Qt::SmoothTransformation);
        // The sharp picture's edges carry clearly more change than the blurred ones.
        EXPECT_GT(edgeEnergy(shown), 1.3 * edgeEnergy(scaledUp));
    }
}

// The calendar, its texts, marks and big pale digits included, is drawn at
// the screen's pixels too.
TEST(SharpArt, TheCalendarIsDrawnAtTheScreensPixels) {
    TChnCalendar calendar;
    calendar.setClock([] { return lunar::EncodeDate(2013, 1, 2); });
    calendar.resize(419, 255);
    calendar.setDateTime(lunar::EncodeDate(2013, 1, 17));
    calendar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    // The grid, whose cells are pictures the control draws itself.
    QWidget* grid = calendar.findChild<QWidget*>(QStringLiteral("DayGrid"));
    ASSERT_NE(grid, nullptr);
    const QImage shown = grid->grab().toImage();
    ASSERT_EQ(shown.size(), grid->size() * 2);
    QImage once(grid->size(), QImage::Format_RGB32);
    once.fill(Qt::white);
    grid->render(&once);
    // Drawn at 1× and doubled, every pixel would repeat its neighbour; drawn
    // at the screen's pixels, the text's and lines' edges fall in between.
    const QImage doubled =
        once.convertToFormat(QImage::Format_RGB32).scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage grabbed = shown.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < grabbed.height(); ++y)
        for (int x = 0; x < grabbed.width(); ++x) differing += grabbed.pixel(x, y) != doubled.pixel(x, y);
    EXPECT_GT(differing, grabbed.width() * grabbed.height() / 50);
}

}  // namespace
