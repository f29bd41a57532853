#include "PictureBombs.h"

#include "BmpFormat.h"
#include "ByteReader.h"

#include <jpeglib.h>

#include <cstdlib>
#include <vector>

namespace tavlo::bench {

using test::Bytes;

namespace {
constexpr int kWidth = kBombWidth, kHeight = kBombHeight;
}  // namespace

Bytes runLengthBmp() {
    const Bytes data = {0, 1};
    Bytes file = imaging::bmpHeaders(kWidth, kHeight, 8, std::vector<imaging::PaletteEntry>(256), {});
    imaging::put32(&file[30], 1);  // RLE8
    imaging::put32(&file[34], static_cast<std::uint32_t>(data.size()));
    file.insert(file.end(), data.begin(), data.end());
    imaging::put32(&file[2], static_cast<std::uint32_t>(file.size()));
    return file;
}

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

Bytes oneColourGif() {
    test::GifFrame frame;
    frame.width = kWidth;
    frame.height = kHeight;
    frame.indices.assign(static_cast<std::size_t>(kWidth) * kHeight, 1);
    return test::encodeGif(kWidth, kHeight, {0, 0, 0, 255, 128, 0}, {frame});
}

Bytes longChunkPng() {
    test::PngPicture png{16, 8, 0, 1, false, std::vector<Bytes>(8, Bytes(2, 0x55)), {}, {}};
    Bytes bytes = test::encodePng(png);
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
    return test::encodePng(png);
}

}  // namespace tavlo::bench
