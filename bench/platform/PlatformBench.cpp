// The walk that closes the program folder at every start, over a folder of
// N pictures in the background library (and the program's few other files):
//   narrow_private/N  a folder already closed, as on every start but the
//                     first after an upgrade: the walk only looks
//   narrow_open/N     a folder an earlier version left open: every file and
//                     folder is changed
#include "ProgramFolder.h"
#include "TempFolder.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

void layOut(const fs::path& root, int pictures) {
    for (const char* folder : {"Data", "source/DeskTopBG", "tmp", "site/rs", "site/help4"})
        fs::create_directories(root / folder);
    for (const char* file : {"Data/BGPicList.ini", "Data/tmppic.ini", "Data/FormSize.ini", "Data/Notes.db", "tavlo",
                             "site/rs/Tavlo.htm", "site/help4/tavloa.htm", "tmp/tmp.bmp"})
        std::ofstream(root / file) << "x";
    for (int i = 0; i < pictures; ++i)
        std::ofstream(root / "source/DeskTopBG" / ("picture" + std::to_string(i) + ".bmp")) << "BM";
}

void openUp(const fs::path& root) {
    fs::permissions(root,
                    fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(root))
        fs::permissions(entry.path(), fs::perms::group_read | fs::perms::others_read, fs::perm_options::add);
}

void BM_narrow(benchmark::State& state, bool open) {
    tavlo::test::TempFolder temp;
    const int pictures = static_cast<int>(state.range(0));
    layOut(temp.path(), pictures);
    const tavlo::ProgramFolder folder(temp.path());
    folder.makePrivate();
    for (auto _ : state) {
        if (open) {
            state.PauseTiming();
            openUp(temp.path());
            state.ResumeTiming();
        }
        folder.makePrivate();
    }
    state.SetItemsProcessed(state.iterations() * (pictures + 13));
}

}  // namespace

BENCHMARK_CAPTURE(BM_narrow, private, false)->Name("narrow_private")->RangeMultiplier(8)->Range(8, 4096);
BENCHMARK_CAPTURE(BM_narrow, open, true)->Name("narrow_open")->RangeMultiplier(8)->Range(8, 4096);

BENCHMARK_MAIN();
