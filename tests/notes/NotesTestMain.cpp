// Notes documents are QTextDocuments, which need a GUI application object;
// the offscreen platform needs no display.
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
