// Window tests run on Qt's offscreen platform with one screen of the size
// this binary was built for (TAVLO_TEST_SCREEN_WIDTH × _HEIGHT window pixels
// at a device pixel ratio of TAVLO_TEST_SCREEN_DPR).
#include "OffscreenApplication.h"
#include "Program.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tavlo::app::prepareApplication();
    tavlo::test::OffscreenApplication application(argc, argv, TAVLO_TEST_SCREEN_WIDTH, TAVLO_TEST_SCREEN_HEIGHT,
                                                  TAVLO_TEST_SCREEN_DPR);
    tavlo::app::initialiseApplication();
    return RUN_ALL_TESTS();
}
