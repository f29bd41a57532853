// The capture window tests run on Qt's offscreen platform with one screen of
// TAVLO_TEST_SCREEN_WIDTH × _HEIGHT window pixels at a device pixel ratio of
// TAVLO_TEST_SCREEN_DPR.
#include <QApplication>
#include <QDir>
#include <QFile>
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
    config.write(QStringLiteral(R"({"windowFrameMargins": false, "screens": [{"name": "test", "x": 0, "y": 0,
        "width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": %3}]})")
                     .arg(TAVLO_TEST_SCREEN_WIDTH)
                     .arg(TAVLO_TEST_SCREEN_HEIGHT)
                     .arg(TAVLO_TEST_SCREEN_DPR)
                     .toUtf8());
    config.close();

    std::string platform = "offscreen:configfile=" + QDir::toNativeSeparators(configPath).toStdString();
    std::vector<char*> args(argv, argv + argc);
    std::string platformFlag = "-platform";
    args.push_back(platformFlag.data());
    args.push_back(platform.data());
    int qtArgc = static_cast<int>(args.size());
    args.push_back(nullptr);
    QApplication application(qtArgc, args.data());
    return RUN_ALL_TESTS();
}
