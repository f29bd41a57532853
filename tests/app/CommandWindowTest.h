#pragma once
#include "BmpFormat.h"
#include "PictureEncoders.h"
#include "RecordingWallpaper.h"
#include "WindowTestSupport.h"
#include "uInfoFrm.h"
#include "uPicSel.h"

#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tavlo::test {

// The main window with its confirmation dialog and picker attached, the
// recording desktop as its wallpaper backend, one background in the library
// (A1.bmp, 300 × 200, grey 90), and insert's open dialog choosing `chosen`.
class CommandWindowTest : public testing::Test {
protected:
    void SetUp() override {
        app::TMainFrm& w = f.show();
        picker = std::make_unique<TPicSelFrm>(*f.state, &w);
        question = std::make_unique<TInforFrm>(*f.state, &w);
        w.attachDialogs(picker.get(), question.get());
        auto backend = std::make_unique<wallpaper::RecordingWallpaper>();
        desktop = backend.get();
        w.setWallpaperBackend(std::move(backend));
        // One screen of unknown size, whatever the machine running the tests has.
        w.setMonitorSource([] { return wallpaper::MonitorLayout{}; });
        w.setChooseFiles([this](QWidget*) { return chosen; });
        imaging::Bitmap a1(300, 200, 24);
        std::fill(a1.pixels().begin(), a1.pixels().end(), std::uint8_t{90});
        imaging::writeBmp(a1, f.state->folder.pathForWrite("source\\DeskTopBG\\A1.bmp"));
    }
    void TearDown() override {
        picker.reset();
        question.reset();
    }
    // A file of these bytes in the folder "pictures".
    std::filesystem::path file(const std::string& name, const Bytes& bytes) {
        const std::filesystem::path path = f.folder / "pictures" / name;
        writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }
    // The commands, as the user gives them.
    void clickInsert() { control<QToolButton>(*f.window, "btnInsertPic")->click(); }
    void clickApply() { mouseClick(control(*f.window, "imgAppToDesk"), Qt::LeftButton); }
    void clickBackgrounds() { mouseClick(control(*f.window, "imgAddToDesk"), Qt::LeftButton); }

    MainWindowFixture f;
    std::unique_ptr<TPicSelFrm> picker;
    std::unique_ptr<TInforFrm> question;
    wallpaper::RecordingWallpaper* desktop = nullptr;
    std::vector<std::filesystem::path> chosen;
};

}  // namespace tavlo::test
