// The calendar's tests run on Qt's offscreen platform with one 96-dpi
// screen, the locale pinned to zh_CN and the program's font substitutions.
#include "FontSubstitutions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir configDir;
    const QString configPath = configDir.filePath(QStringLiteral("screen.json"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly)) return 2;
    config.write(R"({"windowFrameMargins": false, "screens": [{"name": "test", "x": 0, "y": 0,
        "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();

    std::string platform = "offscreen:configfile=" + QDir::toNativeSeparators(configPath).toStdString();
    std::vector<char*> args(argv, argv + argc);
    std::string platformFlag = "-platform";
    args.push_back(platformFlag.data());
    args.push_back(platform.data());
    int qtArgc = static_cast<int>(args.size());
    args.push_back(nullptr);

    QApplication application(qtArgc, args.data());
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    tavlo::widgets::registerFontSubstitutions();
    return RUN_ALL_TESTS();
}
