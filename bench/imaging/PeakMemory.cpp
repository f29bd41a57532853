// Peak memory of the picture tools on small files that describe huge
// pictures: run build/bench/imaging/bench_peak_memory with the paths of
// tavlo-picture and tavlo-compose. Each tool runs as a child process; the
// figure is the child's peak resident size (getrusage), beside the size of
// the decoded picture itself; a negative figure is the peak of a run that
// refused the file.
#include "BmpFormat.h"
#include "PictureBombs.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tavlo;
using test::Bytes;

constexpr int kWidth = bench::kBombWidth, kHeight = bench::kBombHeight;

void save(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Runs the command; returns its peak resident size in MiB, negative when the
// command failed (a file refused is a result too).
double peakMiB(const std::vector<std::string>& command) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double peak = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? peak : -peak;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_peak_memory TAVLO_PICTURE TAVLO_COMPOSE\n");
        return 2;
    }
    const fs::path folder = fs::temp_directory_path() / ("tavlo-peak-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const char* names[] = {"rle8.bmp",       "arith.jpg",           "arith-progressive.jpg",
                           "one-colour.gif", "interlaced-rgba.png", "long-chunk.png"};
    // The files are made in a child of their own: a child's peak counts the
    // pages of the process it was forked from, which must stay small.
    if (const pid_t maker = ::fork(); maker == 0) {
        save(folder / "bg.bmp", imaging::encodeBmp(test::gradientPicture(1920, 1080)));
        save(folder / names[0], bench::runLengthBmp());
        save(folder / names[1], bench::arithmeticJpeg(false));
        save(folder / names[2], bench::arithmeticJpeg(true));
        save(folder / names[3], bench::oneColourGif());
        save(folder / names[4], bench::interlacedRgbaPng());
        save(folder / names[5], bench::longChunkPng());
        ::_exit(0);
    } else {
        ::waitpid(maker, nullptr, 0);
    }
    const double picture = static_cast<double>(imaging::Bitmap::strideFor(kWidth, 24)) * kHeight / (1 << 20);
    std::printf("%d x %d pixels, %.0f MiB at 24 bits\n", kWidth, kHeight, picture);
    std::printf("%-24s %10s %22s %22s\n", "file", "bytes", "tavlo-picture (MiB)", "tavlo-compose (MiB)");
    for (const char* name : names) {
        const fs::path path = folder / name;
        const double convert = peakMiB({argv[1], "convert", path.string(), (folder / "out.bmp").string()});
        const double compose =
            peakMiB({argv[2], (folder / "bg.bmp").string(), path.string(), (folder / "mix.bmp").string()});
        std::printf("%-24s %10ju %22.0f %22.0f\n", name, static_cast<std::uintmax_t>(fs::file_size(path)), convert,
                    compose);
    }
    fs::remove_all(folder);
}
