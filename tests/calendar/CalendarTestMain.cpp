// The calendar's tests run on Qt's offscreen platform with one 96-dpi
// screen, the locale pinned to zh_CN and the program's font substitutions.
#include "FontSubstitutions.h"
#include "OffscreenApplication.h"

#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tavlo::test::OffscreenApplication application(argc, argv, 1280, 800);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    tavlo::widgets::registerFontSubstitutions();
    return RUN_ALL_TESTS();
}
