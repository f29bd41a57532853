#include "Bitmap.h"

#include "ImagingTexts.h"
#include "PixelChannels.h"

#include <cstring>
#include <string>
#include <utility>

namespace tavlo::imaging {

namespace {

std::vector<PaletteEntry> grayRamp(int bitsPerPixel) {
    const int count = 1 << bitsPerPixel;
    std::vector<PaletteEntry> palette(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / (count - 1));
        palette[static_cast<std::size_t>(i)] = {v, v, v, 0};
    }
    return palette;
}

}  // namespace

ImageError::ImageError(const std::string& detail, ImageFault fault)
    : ImageError(fault, texts::faultCause(fault), detail) {}

std::size_t Bitmap::strideFor(int width, int bitsPerPixel) {
    const std::size_t bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel);
    return (bits + 31) / 32 * 4;
}

Bitmap::Bitmap(int width, int height, int bitsPerPixel)
    : width_(width), height_(height), bitsPerPixel_(bitsPerPixel), stride_(strideFor(width, bitsPerPixel)) {
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8: palette = grayRamp(bitsPerPixel); break;
    case 16: masks = ChannelMasks::rgb555(); break;
    case 24: break;
    case 32: masks = ChannelMasks::rgb888(); break;
    default:
        throw ImageError("unsupported pixel format: " + std::to_string(bitsPerPixel) + " bits per pixel",
                         ImageFault::Unsupported);
    }
    checkDimensions(width, height, "bitmap");
    pixels_.assign(stride_ * static_cast<std::size_t>(height), 0);
}

void checkDimensions(std::int64_t width, std::int64_t height, const char* format) {
    if (width <= 0 || height <= 0)
        throw ImageError(std::string(format) + ": invalid size " + std::to_string(width) + " × " +
                         std::to_string(height));
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels)
        throw ImageError(std::string(format) + ": picture too large (" + std::to_string(width) + " × " +
                             std::to_string(height) + " pixels)",
                         ImageFault::TooLarge);
}

void checkFitsFile(std::int64_t width, std::int64_t height, std::size_t fileBytes, std::uint64_t pixelsPerByte,
                   const char* format) {
    const auto pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (pixels / pixelsPerByte > fileBytes)
        throw ImageError(std::string(format) + ": " + std::to_string(width) + " × " + std::to_string(height) +
                         " pixels cannot come from a file of " + std::to_string(fileBytes) + " bytes");
}

Bitmap toBgr24(const Bitmap& source) {
    if (source.bitsPerPixel() == 24) return source;
    Bitmap result(source.width(), source.height(), 24);
    const PixelReader reader(source);
    for (int y = 0; y < source.height(); ++y) reader.readRow(y, result.row(y));
    return result;
}

Bitmap toBgr24(Bitmap&& source) {
    if (source.bitsPerPixel() == 24) return std::move(source);
    return toBgr24(static_cast<const Bitmap&>(source));
}

}  // namespace tavlo::imaging
