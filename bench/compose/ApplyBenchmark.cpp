// One apply, from the command to the wallpaper handed over: "Content.bmp"
// written and read back, the background loaded, "Mix.bmp" composed and
// written. The desktop is the recording backend, so the figure is the
// program's own work: run build/bench/compose/bench_apply.
#include "ApplyCommand.h"
#include "BmpFormat.h"
#include "PictureEncoders.h"
#include "RecordingWallpaper.h"
#include "SettingsFile.h"
#include "WallpaperOptions.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace tavlo;

// Applies of a width × height background to `monitors` (none: the
// design's single composite) until the benchmark has its figure.
void runApplies(benchmark::State& state, int width, int height, const wallpaper::MonitorLayout& monitors,
                FitMode mode = FitMode::Stretch) {
    const fs::path root = fs::temp_directory_path() / ("tavlo-bench-apply-" + std::to_string(::getpid()));
    GlobalState global{ProgramFolder(root)};
    imaging::writeBmp(test::gradientPicture(width, height), global.folder.pathForWrite("source\\DeskTopBG\\A1.bmp"));
    writeSettingsLines(global.folder.pathForWrite("Data\\BGPicList.ini"), {"A1.bmp", "A1.bmp"});
    WallpaperOptions{mode, true}.write(global.folder);
    BackgroundWalk walk;
    LoadBGList(global, walk, false);
    global.ConfirmApply = false;
    wallpaper::RecordingWallpaper desktop;
    desktop.setPerMonitor(true);
    ApplyCommand apply(
        global, walk, desktop, [] {}, [&] { return monitors; });
    const HeldPicture picture(test::gradientPicture(800, 600, 1));
    for (auto _ : state) {
        if (apply.runWithCurrentPicture(&picture) != ApplyResult::Applied) state.SkipWithError("the apply failed");
    }
    fs::remove_all(root);
}

void BM_Apply(benchmark::State& state) {
    runApplies(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), {});
}
BENCHMARK(BM_Apply)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->UseRealTime();

// Two 4K monitors side by side and a 4K background: one composite each, at
// the background's own size, so each costs what the single apply does.
void BM_ApplyTwo4kMonitors(benchmark::State& state) {
    runApplies(state, 3840, 2160, {{"DP-1", 0, 0, 3840, 2160, true}, {"DP-2", 3840, 0, 3840, 2160, false}});
}
BENCHMARK(BM_ApplyTwo4kMonitors)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with the second monitor turned to portrait: its composite is
// the background scaled to it.
void BM_ApplyLandscapeAndPortrait4k(benchmark::State& state) {
    runApplies(state, 3840, 2160, {{"DP-1", 0, 0, 3840, 2160, true}, {"DP-2", 3840, 0, 2160, 3840, false}});
}
BENCHMARK(BM_ApplyLandscapeAndPortrait4k)->Unit(benchmark::kMillisecond)->UseRealTime();

// A full-HD background on one 4K monitor in each fit mode.
void BM_ApplyFitted4k(benchmark::State& state) {
    runApplies(state, 1920, 1080, {{"DP-1", 0, 0, 3840, 2160, true}}, static_cast<FitMode>(state.range(0)));
    state.SetLabel(std::string(fitModeWord(static_cast<FitMode>(state.range(0)))));
}
BENCHMARK(BM_ApplyFitted4k)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
