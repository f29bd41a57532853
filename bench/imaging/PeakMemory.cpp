// Peak memory of the picture tools on small files that describe huge
// pictures: run build/bench/imaging/bench_peak_memory with the paths of
// tavlo-picture and tavlo-compose. Each tool runs as a child process; the
// figure is the child's peak resident size (getrusage), beside the size of
// the decoded picture itself; a negative figure is the peak of a run that
// refused the file.
#include "BmpFormat.h"
#include "ByteReader.h"
#include "PictureEncoders.h"

#include <jpeglib.h>
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

constexpr int kWidth = 16000, kHeight = 8000;

void save(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// An 8-bit run-length BMP whose data ends the picture at once: every pixel is
// palette entry 0.
Bytes runLengthBomb() {
    const Bytes data = {0, 1};
    Bytes file = imaging::bmpHeaders(kWidth, kHeight, 8, std::vector<imaging::PaletteEntry>(256), {});
    imaging::put32(&file[30], 1);  // RLE8
    imaging::put32(&file[34], static_cast<std::uint32_t>(data.size()));
    file.insert(file.end(), data.begin(), data.end());
    imaging::put32(&file[2], static_cast<std::uint32_t>(file.size()));
    return file;
}

// One colour, arithmetic-coded: a few hundred bytes.
Bytes arithmeticJpeg(bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.arith_code = TRUE;
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(kWidth) * 3, 200);
    JSAMPROW rows[] = {row.data()};
    while (info.next_scanline < info.image_height) jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

Bytes gifBomb() {
    test::GifFrame frame;
    frame.width = kWidth;
    frame.height = kHeight;
    frame.indices.assign(static_cast<std::size_t>(kWidth) * kHeight, 1);
    return test::encodeGif(kWidth, kHeight, {0, 0, 0, 255, 128, 0}, {frame});
}

// A tiny picture whose text chunk states 1.7 GB.
Bytes longChunkPng() {
    test::PngPicture png{16, 8, 0, 1, false, std::vector<Bytes>(8, Bytes(2, 0x55)), {}, {}};
    Bytes bytes = encodePng(png);
    const Bytes chunk = {0x6B, 0x00, 0x00, 0x25, 't', 'E', 'X', 't', 'd', 'a', 't', 'e'};
    bytes.insert(bytes.begin() + 33, chunk.begin(), chunk.end());  // after the header chunk
    return bytes;
}

Bytes interlacedRgbaPng() {
    test::PngPicture png;
    png.width = kWidth;
    png.height = kHeight;
    png.colourType = 6;  // RGBA
    png.interlaced = true;
    Bytes row;
    for (int x = 0; x < kWidth; ++x) row.insert(row.end(), {255, 0, 0, 128});
    png.rows.assign(kHeight, row);
    return encodePng(png);
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
        save(folder / names[0], runLengthBomb());
        save(folder / names[1], arithmeticJpeg(false));
        save(folder / names[2], arithmeticJpeg(true));
        save(folder / names[3], gifBomb());
        save(folder / names[4], interlacedRgbaPng());
        save(folder / names[5], longChunkPng());
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
