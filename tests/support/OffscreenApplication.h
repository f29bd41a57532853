#pragma once
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavlo::test {

// The application object of a window-test binary: Qt's offscreen platform
// with one 96-dpi screen of width × height window pixels at the given device
// pixel ratio, so that geometry and pixels do not depend on the machine.
class OffscreenApplication {
public:
    OffscreenApplication(int argc, char** argv, int width, int height, double pixelRatio = 1)
        : args_(argv, argv + argc) {
        const QString configPath = configDir_.filePath(QStringLiteral("screen.json"));
        QFile config(configPath);
        if (!config.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write the offscreen screen file");
        config.write(QStringLiteral(R"({"windowFrameMargins": false, "screens": [{"name": "test", "x": 0, "y": 0,
            "width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": %3}]})")
                         .arg(width)
                         .arg(height)
                         .arg(pixelRatio)
                         .toUtf8());
        config.close();
        platform_ = "offscreen:configfile=" + QDir::toNativeSeparators(configPath).toStdString();
        args_.push_back(platformFlag_.data());
        args_.push_back(platform_.data());
        argc_ = static_cast<int>(args_.size());
        args_.push_back(nullptr);
        // QApplication keeps argc and argv: they live as long as it does.
        application_ = std::make_unique<QApplication>(argc_, args_.data());
    }

private:
    QTemporaryDir configDir_;
    std::string platformFlag_ = "-platform";
    std::string platform_;
    std::vector<char*> args_;
    int argc_ = 0;
    std::unique_ptr<QApplication> application_;
};

}  // namespace tavlo::test
