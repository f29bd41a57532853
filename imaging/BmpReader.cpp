#include "BmpFormat.h"
#include "ByteReader.h"
#include "PixelChannels.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace tavlo::imaging {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

[[noreturn]] void fail(const std::string& what, ImageFault fault = ImageFault::Damaged) {
    throw ImageError("BMP: " + what, fault);
}

// A valid file stored in a way the program does not read.
[[noreturn]] void unsupported(const std::string& what) {
    fail(what, ImageFault::Unsupported);
}

struct InfoHeader {
    std::uint32_t size = 0;
    std::int64_t width = 0, height = 0;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t imageSize = 0;
    int planes = 1;
    bool hasMasksInHeader = false;
    bool core = false;  // 12-byte header: 16-bit sizes, 3-byte palette entries
};

InfoHeader parseInfoHeader(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize + 4) fail("file too short for its headers");
    InfoHeader h;
    h.size = le32(file, kFileHeaderSize);
    const std::size_t at = kFileHeaderSize;
    if (h.size == 12) {
        if (file.size() < at + 12) fail("file too short for its headers");
        h.core = true;
        h.width = le16(file, at + 4);
        h.height = le16(file, at + 6);  // unsigned: core pictures are always bottom-up
        h.planes = le16(file, at + 8);
        h.bitsPerPixel = le16(file, at + 10);
        return h;
    }
    // 16 and 64 are the second OS/2 header; 40, 52, 56, 108 and 124 the Windows ones.
    if (h.size != 16 && h.size != 40 && h.size != 52 && h.size != 56 && h.size != 64 && h.size != 108 && h.size != 124)
        fail("unknown header size " + std::to_string(h.size));
    if (file.size() < at + h.size) fail("file too short for its " + std::to_string(h.size) + "-byte header");
    h.width = static_cast<std::int32_t>(le32(file, at + 4));
    h.height = static_cast<std::int32_t>(le32(file, at + 8));
    h.planes = le16(file, at + 12);
    h.bitsPerPixel = le16(file, at + 14);
    if (h.size >= 20) h.compression = le32(file, at + 16);
    if (h.size >= 24) h.imageSize = le32(file, at + 20);
    if (h.size >= 36) h.colorsUsed = le32(file, at + 32);
    h.hasMasksInHeader = h.size >= 52 && h.size != 64;
    // The second OS/2 header uses 3 and 4 for Huffman and 24-bit RLE.
    const bool os2 = h.size == 16 || h.size == 64;
    if (os2 && (h.compression == 3 || h.compression == 4))
        unsupported("OS/2 Huffman or RLE24 compression is not supported");
    return h;
}

void checkCompression(const InfoHeader& h, bool bottomUp) {
    const int bits = h.bitsPerPixel;
    switch (h.compression) {
    case BmpLayout::Rgb:
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            unsupported("unsupported depth of " + std::to_string(bits) + " bits per pixel");
        return;
    case BmpLayout::Rle8:
    case BmpLayout::Rle4:
        if (bits != (h.compression == BmpLayout::Rle8 ? 8 : 4))
            unsupported("run-length compression with " + std::to_string(bits) + " bits per pixel");
        if (!bottomUp) fail("run-length compressed picture stored top-down");
        return;
    case BmpLayout::BitFields:
    case BmpLayout::AlphaBitFields:
        if (bits != 16 && bits != 32)
            unsupported("bit-field compression with " + std::to_string(bits) + " bits per pixel");
        return;
    default: unsupported("unsupported compression " + std::to_string(h.compression));
    }
}

ChannelMasks readMasks(std::span<const std::uint8_t> file, const InfoHeader& h, std::size_t& paletteStart) {
    if (h.compression == BmpLayout::Rgb) return h.bitsPerPixel == 16 ? ChannelMasks::rgb555() : ChannelMasks::rgb888();
    const bool withAlpha = h.compression == BmpLayout::AlphaBitFields;
    std::size_t at = kFileHeaderSize + 40;
    if (!h.hasMasksInHeader) {
        // A 40-byte header is followed by the masks themselves.
        const std::size_t count = withAlpha ? 4 : 3;
        if (file.size() < at + 4 * count) fail("file too short for its colour masks");
        paletteStart = at + 4 * count;
    }
    ChannelMasks m{le32(file, at), le32(file, at + 4), le32(file, at + 8), 0};
    // The alpha mask lies in the larger headers, or follows a 40-byte one.
    if (h.size >= 56 || (withAlpha && !h.hasMasksInHeader)) m.alpha = le32(file, at + 12);
    if (h.bitsPerPixel == 16 && ((m.red | m.green | m.blue | m.alpha) >> 16) != 0)
        fail("colour mask wider than a 16-bit pixel");
    if ((m.red | m.green | m.blue) == 0) fail("all colour masks are zero");
    if (!masksAreContiguous(m)) fail("colour mask is not one run of bits");
    if ((m.red & m.green) | (m.red & m.blue) | (m.green & m.blue) | ((m.red | m.green | m.blue) & m.alpha))
        fail("colour masks overlap");
    return m;
}

std::vector<PaletteEntry> readPalette(std::span<const std::uint8_t> file, const InfoHeader& h, std::size_t start,
                                      std::size_t pixelOffset) {
    if (h.bitsPerPixel > 8) return {};
    const std::size_t entrySize = h.core ? 3 : 4;
    std::size_t count = std::size_t{1} << h.bitsPerPixel;
    const std::size_t end = pixelOffset > start ? std::min(pixelOffset, file.size()) : start;
    if (h.colorsUsed != 0) {
        // A count the header states must be possible and present.
        if (h.colorsUsed > count)
            fail("palette of " + std::to_string(h.colorsUsed) + " colours at " + std::to_string(h.bitsPerPixel) +
                 " bits per pixel");
        count = h.colorsUsed;
        if (count * entrySize > end - start)
            fail("palette of " + std::to_string(count) + " colours does not fit before the pixel data");
    }
    // A palette of unstated length may be short: take the entries that fit before the pixels.
    count = std::min(count, (end - start) / entrySize);
    std::vector<PaletteEntry> palette(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = start + i * entrySize;
        palette[i] = {file[at], file[at + 1], file[at + 2], 0};
    }
    return palette;
}

}  // namespace

BmpLayout parseBmpLayout(std::span<const std::uint8_t> file) {
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') fail("not a BMP file");
    const InfoHeader h = parseInfoHeader(file);
    BmpLayout layout;
    layout.bottomUp = h.height > 0;
    checkDimensions(h.width, h.height < 0 ? -h.height : h.height, "BMP");
    checkCompression(h, layout.bottomUp);
    if (h.planes != 1) fail(std::to_string(h.planes) + " colour planes");
    layout.width = static_cast<std::int32_t>(h.width);
    layout.height = static_cast<std::int32_t>(h.height < 0 ? -h.height : h.height);
    layout.bitsPerPixel = h.bitsPerPixel;
    layout.compression = h.compression;
    layout.stride = Bitmap::strideFor(layout.width, layout.bitsPerPixel);

    std::size_t paletteStart = kFileHeaderSize + h.size;
    if (h.bitsPerPixel == 16 || h.bitsPerPixel == 32) layout.masks = readMasks(file, h, paletteStart);

    const std::size_t declaredOffset = le32(file, 10);
    const std::size_t paletteBytes = h.bitsPerPixel <= 8 ? (std::size_t{1} << h.bitsPerPixel) * (h.core ? 3 : 4) : 0;
    // Some writers leave the offset at zero; the pixels then follow the palette.
    if (declaredOffset != 0 && declaredOffset < paletteStart)
        fail("pixel data offset " + std::to_string(declaredOffset) + " lies inside the headers");
    layout.pixelOffset = declaredOffset != 0 ? declaredOffset : paletteStart + paletteBytes;
    // Deeper pictures may carry a palette for displays with few colours; its
    // count must still fit the file.
    if (h.bitsPerPixel > 8 && std::uint64_t{h.colorsUsed} * 4 > file.size())
        fail("palette of " + std::to_string(h.colorsUsed) + " colours in a file of " + std::to_string(file.size()) +
             " bytes");
    layout.palette = readPalette(file, h, paletteStart, layout.pixelOffset);
    if (h.bitsPerPixel <= 8 && layout.palette.empty()) fail("indexed picture without a palette");

    if (layout.pixelOffset > file.size()) fail("pixel data starts past the end of the file");
    if (!layout.isUncompressed() && h.imageSize > file.size() - layout.pixelOffset)
        fail("compressed size of " + std::to_string(h.imageSize) + " bytes runs past the end of the file");
    if (layout.isUncompressed()) {
        const std::size_t needed = layout.stride * static_cast<std::size_t>(layout.height);
        const std::size_t present = file.size() - layout.pixelOffset;
        if (present < needed)
            fail("pixel data truncated: " + std::to_string(layout.width) + " × " + std::to_string(layout.height) +
                 " needs " + std::to_string(needed) + " bytes, the file holds " + std::to_string(present));
    }
    return layout;
}

namespace {

// Expands RLE8/RLE4 data into a bottom-up-stored, top-down-indexed bitmap.
// Every step consumes input, so a hostile stream ends with the file.
void decodeRle(std::span<const std::uint8_t> data, const BmpLayout& layout, Bitmap& out) {
    const bool four = layout.compression == BmpLayout::Rle4;
    const int width = layout.width, height = layout.height;
    int x = 0, line = 0;  // line counts from the bottom
    // `out` may hold only the top-left part of the picture.
    auto put = [&](std::uint8_t index) {
        if (x < out.width() && line < height && height - 1 - line < out.height()) {
            std::uint8_t* row = out.row(height - 1 - line);
            if (four) {
                std::uint8_t& b = row[x >> 1];
                b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | index)
                            : static_cast<std::uint8_t>((b & 0x0F) | index << 4);
            } else {
                row[x] = index;
            }
        }
        ++x;
    };
    std::size_t i = 0;
    while (i + 1 < data.size() && line < height) {
        const std::uint8_t count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count && x < width; ++k)
                put(four ? static_cast<std::uint8_t>(k & 1 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++line;
        } else if (value == 1) {  // end of picture
            return;
        } else if (value == 2) {  // move right and up
            if (i + 1 >= data.size()) return;
            x += data[i];
            line += data[i + 1];
            i += 2;
        } else {  // `value` literal pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            if (i + bytes > data.size()) fail("run-length data ends inside a literal run");
            for (int k = 0; k < value; ++k)
                put(four ? static_cast<std::uint8_t>(k & 1 ? data[i + k / 2] & 0x0F : data[i + k / 2] >> 4)
                         : data[i + static_cast<std::size_t>(k)]);
            i += (bytes + 1) & ~std::size_t{1};
        }
    }
}

}  // namespace

Bitmap readBmp(std::span<const std::uint8_t> file) {
    const BmpLayout layout = parseBmpLayout(file);
    Bitmap bitmap(layout.width, layout.height, layout.bitsPerPixel);
    bitmap.palette = layout.palette;
    bitmap.masks = layout.masks;
    if (layout.isUncompressed()) {
        for (int y = 0; y < layout.height; ++y)
            std::memcpy(bitmap.row(y), file.data() + layout.rowOffset(y), layout.stride);
    } else {
        decodeRle(file.subspan(layout.pixelOffset), layout, bitmap);
    }
    return bitmap;
}

void decodeBmp(std::span<const std::uint8_t> file, RowSink& sink) {
    const BmpLayout layout = parseBmpLayout(file);
    sink.start(layout.width, layout.height);
    const int rows = std::min(layout.height, sink.rowsWanted());
    const int columns = std::min(layout.width, sink.columnsWanted());
    // The wanted part in the file's own format, then each row as 24 bits:
    // a stored row at a time, or the part of a run-length picture (whose
    // top rows come last).
    Bitmap part(layout.isUncompressed() ? layout.width : columns, layout.isUncompressed() ? 1 : rows,
                layout.bitsPerPixel);
    part.palette = layout.palette;
    part.masks = layout.masks;
    const PixelReader reader(part);
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(part.width()) * 3);
    if (!layout.isUncompressed()) decodeRle(file.subspan(layout.pixelOffset), layout, part);
    for (int y = 0; y < rows; ++y) {
        if (layout.isUncompressed()) std::memcpy(part.row(0), file.data() + layout.rowOffset(y), layout.stride);
        reader.readRow(layout.isUncompressed() ? 0 : y, bgr.data());
        sink.putRow(y, bgr.data());
    }
}

}  // namespace tavlo::imaging
