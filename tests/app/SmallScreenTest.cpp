// First run on an 800 × 600 screen: the first-run geometry is wider than the
// screen; the window keeps to the screen, the file holds the first-run values.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

using namespace tavlo;

TEST(FormSize, FirstRunOnASmallScreenKeepsTheWindowOnIt) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    EXPECT_EQ(w.geometry(), QRect(0, 35, 800, 500));
    EXPECT_EQ(test::readFileBytes(f.folder / "Data/FormSize.ini"), "1\r\n830\r\n500\r\n-15\r\n35\r\n");
}
