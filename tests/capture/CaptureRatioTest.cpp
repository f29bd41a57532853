// A screen with two physical pixels to each window pixel: the capture holds
// the physical pixels and the selection maps onto them.
#include "CaptureWindowSupport.h"
#include "Picture.h"

#include <QLabel>

namespace tavlo {
namespace {

using CaptureRatioTest = test::CaptureWindowFixture;

TEST_F(CaptureRatioTest, TheSelectionCutsThePhysicalPixels) {
    ASSERT_EQ(kRatio, 2);
    open();
    EXPECT_EQ(form->size(), QSize(kWidth, kHeight));
    EXPECT_EQ(form->screenPicture().size(), QSize(kPhysicalWidth, kPhysicalHeight));

    move({75, 130});
    EXPECT_EQ(control<QLabel>("LblRGB")->text(),
              QStringLiteral("当前像素RGB值（150、4、78）"));  // physical (150, 260)
    drag({60, 120}, {160, 170});
    key(Qt::Key_Return);
    ASSERT_FALSE(form->isVisible());

    const imaging::Bitmap written = imaging::loadPicture(tmpBmp());
    ASSERT_EQ(written.width(), 200);
    ASSERT_EQ(written.height(), 100);
    const QImage screen = test::patternImage(kPhysicalWidth, kPhysicalHeight);
    EXPECT_EQ(test::mismatchesWithScreen(written, screen, QPoint(120, 240)), 0);
}

}  // namespace
}  // namespace tavlo
