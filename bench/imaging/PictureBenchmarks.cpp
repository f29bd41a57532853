// Composition of the apply command and the picture conversions, on inputs
// generated here: run build/bench/imaging/bench_pictures.
#include "AtomicFile.h"
#include "BmpFormat.h"
#include "Composition.h"
#include "GifDecoder.h"
#include "MappedFile.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "PngDecoder.h"
#include "Resample.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;
using namespace tavlo;

fs::path scratch() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("tavlo-bench-" + std::to_string(::getpid()));
        fs::create_directories(f);
        std::atexit([] { fs::remove_all(fs::temp_directory_path() / ("tavlo-bench-" + std::to_string(::getpid()))); });
        return f;
    }();
    return folder;
}

// Background file plus content, as one apply finds them.
void BM_ComposeWallpaper(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const fs::path background = scratch() / ("bg-" + std::to_string(width) + ".bmp");
    if (!fs::exists(background)) imaging::writeBmp(test::gradientPicture(width, height), background);
    Composition composition(scratch());
    composition.SaveContentPicture(test::gradientPicture(800, 600, 1));
    for (auto _ : state) {
        composition.LoadBackground(background);
        composition.ComposeWallpaper();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(background)));
}
// The root-window painter's smooth stretch of a background to the screen:
// up from 1600 × 900 and down from 3840 × 2160 to a 1920 × 1080 screen, and
// up to a 3840 × 2160 one.
void BM_StretchToScreen(benchmark::State& state) {
    const imaging::Bitmap source =
        test::gradientPicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const int width = static_cast<int>(state.range(2)), height = static_cast<int>(state.range(3));
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (auto _ : state) {
        imaging::Resampler scaled(source, width, height);
        for (int y = 0; y < height; ++y) scaled.row(y, row.data());
        benchmark::DoNotOptimize(row.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(width) * height);
}
BENCHMARK(BM_StretchToScreen)
    ->Args({1600, 900, 1920, 1080})
    ->Args({3840, 2160, 1920, 1080})
    ->Args({1600, 900, 3840, 2160})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ComposeWallpaper)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

const test::Bytes& photo(bool progressive) {
    static std::map<bool, test::Bytes> cache;
    auto& bytes = cache[progressive];
    if (bytes.empty()) bytes = test::encodeJpeg(test::gradientPicture(6000, 4000), 90, progressive);
    return bytes;
}

// The program's conversion of an inserted JPEG: read from its file, rows
// streamed into the BMP.
void BM_JpegToBmp(benchmark::State& state) {
    const test::Bytes& jpeg = photo(state.range(0) != 0);
    const fs::path source = scratch() / "photo.jpg";
    AtomicFile file(source, AtomicFile::Sync::Fast);
    file.write(jpeg.data(), jpeg.size());
    file.commit();
    for (auto _ : state) {
        AtomicFile bmp(scratch() / "photo.bmp", AtomicFile::Sync::Fast);
        imaging::writePictureAsBmp(MappedFile(source), bmp);
        bmp.commit();
    }
    state.SetItemsProcessed(state.iterations() * 6000 * 4000);
}
BENCHMARK(BM_JpegToBmp)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PngToBmp(benchmark::State& state) {
    test::PngPicture png;
    png.width = 3000;
    png.height = 2000;
    png.colourType = PNG_COLOR_TYPE_RGB;
    const imaging::Bitmap source = test::gradientPicture(3000, 2000);
    for (int y = 0; y < 2000; ++y) png.rows.emplace_back(source.row(y), source.row(y) + 9000);
    const test::Bytes bytes = test::encodePng(png);
    for (auto _ : state) imaging::writeBmp(imaging::decodePng(bytes), scratch() / "png.bmp");
    state.SetItemsProcessed(state.iterations() * 3000 * 2000);
}
BENCHMARK(BM_PngToBmp)->Unit(benchmark::kMillisecond);

void BM_GifToBmp(benchmark::State& state) {
    // An animated GIF of 20 frames: only the first one is decoded.
    std::vector<test::GifFrame> frames;
    std::vector<std::uint8_t> colours;
    for (int i = 0; i < 256; ++i)
        colours.insert(colours.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)});
    for (int f = 0; f < 20; ++f) {
        test::GifFrame frame{0, 0, 1200, 900, false, -1, {}, {}};
        frame.indices.resize(1200 * 900);
        for (std::size_t i = 0; i < frame.indices.size(); ++i)
            frame.indices[i] = static_cast<std::uint8_t>((i / 7 + f * 13) % 256);
        frames.push_back(std::move(frame));
    }
    const test::Bytes bytes = test::encodeGif(1200, 900, colours, frames);
    for (auto _ : state) imaging::writeBmp(imaging::decodeGif(bytes), scratch() / "gif.bmp");
    state.SetItemsProcessed(state.iterations() * 1200 * 900);
}
BENCHMARK(BM_GifToBmp)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
