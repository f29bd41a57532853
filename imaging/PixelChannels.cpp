#include "PixelChannels.h"

#include <bit>
#include <cstring>
#include <limits>

namespace tavlo::imaging {

Channel::Channel(std::uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    bits_ = std::popcount(mask);
}

std::uint8_t Channel::extract(std::uint32_t pixel) const {
    if (bits_ == 0) return 0;
    const std::uint32_t value = (pixel & mask_) >> shift_;
    if (bits_ >= 8) return static_cast<std::uint8_t>(value >> (bits_ - 8));
    const std::uint32_t max = (1u << bits_) - 1;
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

std::uint32_t Channel::insert(std::uint8_t value) const {
    if (bits_ == 0) return 0;
    std::uint32_t scaled;
    if (bits_ >= 8) {
        scaled = static_cast<std::uint32_t>(value) << (bits_ - 8);
    } else {
        const std::uint32_t max = (1u << bits_) - 1;
        scaled = (value * max + 127) / 255;
    }
    return (scaled << shift_) & mask_;
}

bool masksAreContiguous(const ChannelMasks& masks) {
    for (const std::uint32_t m : {masks.red, masks.green, masks.blue, masks.alpha}) {
        if (m == 0) continue;
        const std::uint32_t shifted = m >> std::countr_zero(m);
        if ((shifted & (shifted + 1)) != 0) return false;
    }
    return true;
}

namespace {

std::uint32_t loadPixel(const std::uint8_t* row, int x, int bitsPerPixel) {
    if (bitsPerPixel == 16) return static_cast<std::uint32_t>(row[2 * x] | row[2 * x + 1] << 8);
    std::uint32_t v;
    std::memcpy(&v, row + 4 * x, 4);
    return v;  // BMP files are little-endian, as are the machines we build for
}

void storePixel(std::uint8_t* row, int x, int bitsPerPixel, std::uint32_t v) {
    if (bitsPerPixel == 16) {
        row[2 * x] = static_cast<std::uint8_t>(v);
        row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
    } else {
        std::memcpy(row + 4 * x, &v, 4);
    }
}

int indexAt(const std::uint8_t* row, int x, int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    default: return row[x];
    }
}

void setIndex(std::uint8_t* row, int x, int bitsPerPixel, std::uint8_t index) {
    switch (bitsPerPixel) {
    case 1: {
        const auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>(index & 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
        break;
    }
    case 4: {
        std::uint8_t& byte = row[x >> 1];
        byte = (x & 1) ? static_cast<std::uint8_t>((byte & 0xF0) | (index & 0x0F))
                       : static_cast<std::uint8_t>((byte & 0x0F) | (index << 4));
        break;
    }
    default: row[x] = index;
    }
}

}  // namespace

PixelReader::PixelReader(const Bitmap& bitmap)
    : bitmap_(bitmap), red_(bitmap.masks.red), green_(bitmap.masks.green), blue_(bitmap.masks.blue) {
    for (std::size_t i = 0; i < bitmap.palette.size() && i < palette_.size(); ++i) palette_[i] = bitmap.palette[i];
}

void PixelReader::readRow(int y, std::uint8_t* bgr) const {
    const std::uint8_t* row = bitmap_.row(y);
    const int bits = bitmap_.bitsPerPixel();
    const int width = bitmap_.width();
    if (bits == 24) {
        std::memcpy(bgr, row, static_cast<std::size_t>(width) * 3);
        return;
    }
    for (int x = 0; x < width; ++x, bgr += 3) {
        if (bits <= 8) {
            const PaletteEntry& c = palette_[static_cast<std::size_t>(indexAt(row, x, bits))];
            bgr[0] = c.blue;
            bgr[1] = c.green;
            bgr[2] = c.red;
        } else {
            const std::uint32_t v = loadPixel(row, x, bits);
            bgr[0] = blue_.extract(v);
            bgr[1] = green_.extract(v);
            bgr[2] = red_.extract(v);
        }
    }
}

PixelWriter::PixelWriter(int bitsPerPixel, const std::vector<PaletteEntry>& palette, const ChannelMasks& masks)
    : bitsPerPixel_(bitsPerPixel), red_(masks.red), green_(masks.green), blue_(masks.blue),
      opaque_(Channel(masks.alpha).insert(255)), palette_(palette) {
    if (bitsPerPixel_ <= 8 && palette_.empty()) palette_.push_back({});  // an empty palette reads as black
}

std::uint8_t PixelWriter::nearestIndex(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    const std::uint32_t key =
        static_cast<std::uint32_t>(b) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(r) << 16;
    if (const auto found = nearestCache_.find(key); found != nearestCache_.end()) return found->second;
    const std::size_t usable = std::min<std::size_t>(palette_.size(), std::size_t{1} << bitsPerPixel_);
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < usable; ++i) {
        const int db = palette_[i].blue - b, dg = palette_[i].green - g, dr = palette_[i].red - r;
        const int distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    nearestCache_.emplace(key, static_cast<std::uint8_t>(best));
    return static_cast<std::uint8_t>(best);
}

void PixelWriter::writePixels(std::uint8_t* row, int x, const std::uint8_t* bgr, int count) {
    if (bitsPerPixel_ == 24) {
        std::memcpy(row + static_cast<std::size_t>(x) * 3, bgr, static_cast<std::size_t>(count) * 3);
        return;
    }
    for (int i = 0; i < count; ++i, bgr += 3) {
        if (bitsPerPixel_ <= 8) {
            setIndex(row, x + i, bitsPerPixel_, nearestIndex(bgr[0], bgr[1], bgr[2]));
        } else {
            storePixel(row, x + i, bitsPerPixel_,
                       blue_.insert(bgr[0]) | green_.insert(bgr[1]) | red_.insert(bgr[2]) | opaque_);
        }
    }
}

}  // namespace tavlo::imaging
