// The Windows backend's calls, as Windows would receive them.
#include "RecordingWallpaper.h"
#include "WindowsWallpaper.h"

#include <gtest/gtest.h>

using namespace tavlo::wallpaper;
using Call = RecordingWindowsCalls::Call;

namespace {

struct Desktop {
    RecordingWindowsCalls::Log log = std::make_shared<std::vector<Call>>();
    RecordingWindowsCalls* calls = nullptr;
    std::unique_ptr<WindowsWallpaper> backend;

    Desktop() {
        auto recording = std::make_unique<RecordingWindowsCalls>(log);
        calls = recording.get();
        backend = std::make_unique<WindowsWallpaper>(std::move(recording));
    }
};

}  // namespace

// Current Windows reads a missing path as "the default picture": the system
// is handed the full path itself, and told to store it and tell every window.
TEST(WindowsWallpaper, WritesBothValuesThenHandsTheSystemTheFullPath) {
    Desktop desktop;
    desktop.backend->SetWallpaper("source/DeskTopBG/Mix.bmp");
    const std::wstring full = (std::filesystem::current_path() / "source/DeskTopBG/Mix.bmp").wstring();
    const std::vector<Call> expected = {
        {"RegSetValueExW", L"Wallpaper", full},
        {"RegSetValueExW", L"WallpaperStyle", L"2"},
        {"SystemParametersInfoW", L"", full, 0x01 | 0x02},  // SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
    };
    EXPECT_EQ(*desktop.log, expected);
}

TEST(WindowsWallpaper, AFailedCallIsReportedAndEndsTheSteps) {
    for (const char* function : {"RegSetValueExW", "SystemParametersInfoW"}) {
        Desktop desktop;
        desktop.calls->failCallsTo(function, "windows: refused");
        try {
            desktop.backend->SetWallpaper("/pictures/Mix.bmp");
            ADD_FAILURE() << function << ": the failure was not reported";
        } catch (const WallpaperError& error) {
            EXPECT_STREQ(error.what(), "windows: refused");
        }
        EXPECT_EQ(desktop.log->back().function, function);
        EXPECT_EQ(desktop.log->size(), std::string(function) == "RegSetValueExW" ? 1u : 3u);
    }
}
