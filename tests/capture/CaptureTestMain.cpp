// The capture window tests run on Qt's offscreen platform with one screen of
// TAVLO_TEST_SCREEN_WIDTH × _HEIGHT window pixels at a device pixel ratio of
// TAVLO_TEST_SCREEN_DPR.
#include "OffscreenApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tavlo::test::OffscreenApplication application(argc, argv, TAVLO_TEST_SCREEN_WIDTH, TAVLO_TEST_SCREEN_HEIGHT,
                                                  TAVLO_TEST_SCREEN_DPR);
    return RUN_ALL_TESTS();
}
