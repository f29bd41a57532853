// One apply, from the command to the wallpaper handed over: "Content.bmp"
// written and read back, the background loaded, "Mix.bmp" composed and
// written. The desktop is the recording backend, so the figure is the
// program's own work: run build/bench/compose/bench_apply.
#include "ApplyCommand.h"
#include "BmpFormat.h"
#include "PictureEncoders.h"
#include "RecordingWallpaper.h"
#include "SettingsFile.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace tavlo;

void BM_Apply(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const fs::path root = fs::temp_directory_path() / ("tavlo-bench-apply-" + std::to_string(::getpid()));
    GlobalState global{ProgramFolder(root)};
    imaging::writeBmp(test::gradientPicture(width, height), global.folder.pathForWrite("source\\DeskTopBG\\A1.bmp"));
    writeSettingsLines(global.folder.pathForWrite("Data\\BGPicList.ini"), {"A1.bmp", "A1.bmp"});
    BackgroundWalk walk;
    LoadBGList(global, walk, false);
    global.ConfirmApply = false;
    wallpaper::RecordingWallpaper desktop;
    ApplyCommand apply(global, walk, desktop, [] {});
    const HeldPicture picture(test::gradientPicture(800, 600, 1));
    for (auto _ : state) {
        if (apply.runWithCurrentPicture(&picture) != ApplyResult::Applied) state.SkipWithError("the apply failed");
    }
    fs::remove_all(root);
}
BENCHMARK(BM_Apply)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
