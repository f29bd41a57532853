#include "AtomicFile.h"
#include "BmpFormat.h"
#include "ByteReader.h"
#include "PixelChannels.h"

#include <algorithm>
#include <cstring>

namespace tavlo::imaging {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kV4HeaderSize = 108;

bool needsMasks(int bitsPerPixel, const ChannelMasks& masks) {
    if (bitsPerPixel == 16) return masks != ChannelMasks::rgb555();
    if (bitsPerPixel == 32) return masks != ChannelMasks::rgb888();
    return false;
}

}  // namespace

std::vector<std::uint8_t> bmpHeaders(int width, int height, int bitsPerPixel, const std::vector<PaletteEntry>& palette,
                                     const ChannelMasks& channelMasks) {
    const bool indexed = bitsPerPixel <= 8;
    const bool masks = needsMasks(bitsPerPixel, channelMasks);
    // An alpha mask needs the V4 header; other masks follow a 40-byte header.
    const bool v4 = masks && channelMasks.alpha != 0;
    const std::size_t infoSize = v4 ? kV4HeaderSize : kInfoHeaderSize;
    const std::size_t maskBytes = masks && !v4 ? 12 : 0;
    const std::size_t paletteCount = indexed ? palette.size() : 0;
    const std::size_t offset = kFileHeaderSize + infoSize + maskBytes + 4 * paletteCount;
    const std::size_t imageSize = Bitmap::strideFor(width, bitsPerPixel) * static_cast<std::size_t>(height);

    std::vector<std::uint8_t> h(offset, 0);
    std::uint8_t* p = h.data();
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<std::uint32_t>(offset + imageSize));
    put32(p + 10, static_cast<std::uint32_t>(offset));
    std::uint8_t* info = p + kFileHeaderSize;
    put32(info, static_cast<std::uint32_t>(infoSize));
    put32(info + 4, static_cast<std::uint32_t>(width));
    put32(info + 8, static_cast<std::uint32_t>(height));  // positive: stored bottom-up
    put16(info + 12, 1);
    put16(info + 14, static_cast<std::uint32_t>(bitsPerPixel));
    put32(info + 16, masks ? 3u : 0u);
    put32(info + 20, static_cast<std::uint32_t>(imageSize));
    put32(info + 24, 3780);  // 96 dpi
    put32(info + 28, 3780);
    const bool fullPalette = indexed && paletteCount == (std::size_t{1} << bitsPerPixel);
    put32(info + 32, indexed && !fullPalette ? static_cast<std::uint32_t>(paletteCount) : 0u);
    if (masks) {
        std::uint8_t* m = info + kInfoHeaderSize;
        put32(m, channelMasks.red);
        put32(m + 4, channelMasks.green);
        put32(m + 8, channelMasks.blue);
        if (v4) {
            put32(m + 12, channelMasks.alpha);
            std::memcpy(m + 16, "BGRs", 4);  // LCS_sRGB, stored little-endian
        }
    }
    std::uint8_t* entries = p + kFileHeaderSize + infoSize + maskBytes;
    for (std::size_t i = 0; i < paletteCount; ++i) {
        entries[4 * i] = palette[i].blue;
        entries[4 * i + 1] = palette[i].green;
        entries[4 * i + 2] = palette[i].red;
    }
    return h;
}

std::vector<std::uint8_t> encodeBmp(const Bitmap& bitmap) {
    std::vector<std::uint8_t> file = bmpHeaders(bitmap);
    file.reserve(file.size() + bitmap.pixels().size());
    for (int y = bitmap.height() - 1; y >= 0; --y)
        file.insert(file.end(), bitmap.row(y), bitmap.row(y) + bitmap.stride());
    return file;
}

void writeBmp(const Bitmap& bitmap, const std::filesystem::path& path) {
    std::vector<std::uint8_t> headers = bmpHeaders(bitmap);
    std::vector<AtomicFile::Piece> pieces;
    pieces.reserve(static_cast<std::size_t>(bitmap.height()) + 1);
    pieces.push_back({headers.data(), headers.size()});
    for (int y = bitmap.height() - 1; y >= 0; --y) pieces.push_back({bitmap.row(y), bitmap.stride()});
    AtomicFile file(path, AtomicFile::Sync::Fast);
    file.writeGathered(pieces);
    file.commit();
}

}  // namespace tavlo::imaging
