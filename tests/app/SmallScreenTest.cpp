// First run on an 800 × 600 screen: the window is wider than the screen.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

using namespace tavlo;

TEST(FormSize, FirstRunOnASmallScreenPlacesTheWindowPartlyOffIt) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    EXPECT_EQ(w.geometry(), QRect(-15, 35, 830, 500));
    EXPECT_EQ(test::readFileBytes(f.folder / "Data/FormSize.ini"), "1\r\n830\r\n500\r\n-15\r\n35\r\n");
}
