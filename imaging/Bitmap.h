#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavlo::imaging {

// What kind of thing is wrong with a picture, for the user's message.
enum class ImageFault {
    Damaged,        // cut short or inconsistent
    Unsupported,    // a valid picture stored in a way the program does not read
    TooLarge,       // more pixels than the program holds
    OutOfMemory,    // the decoder could not get its memory
    UnknownFormat,  // none of the formats the program reads
};

// A picture could not be decoded or encoded. what() is the developer's
// account, in English, for the log; cause() is what the user is told.
class ImageError : public std::runtime_error {
public:
    explicit ImageError(const std::string& detail, ImageFault fault = ImageFault::Damaged);
    ImageError(ImageFault fault, std::string cause, const std::string& detail)
        : std::runtime_error(detail), fault_(fault), cause_(std::move(cause)) {}

    ImageFault fault() const noexcept { return fault_; }
    const std::string& cause() const noexcept { return cause_; }

private:
    ImageFault fault_;
    std::string cause_;
};

// One palette entry, in the byte order BMP files store it.
struct PaletteEntry {
    std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// Where red, green, blue (and alpha) lie in a 16- or 32-bit pixel.
struct ChannelMasks {
    std::uint32_t red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const ChannelMasks&, const ChannelMasks&) = default;

    static ChannelMasks rgb555() { return {0x7C00, 0x03E0, 0x001F, 0}; }
    static ChannelMasks rgb888() { return {0x00FF0000, 0x0000FF00, 0x000000FF, 0}; }
};

// Width × height pixels in one of the BMP pixel formats: 1, 4 or 8 bits with a
// palette, 16 or 32 bits with channel masks, or 24 bits blue-green-red. Rows
// are stored top-down, each padded to a multiple of four bytes, exactly as a
// BMP file stores them, so that rows go to and from files unchanged.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, int bitsPerPixel);  // zero-filled; default palette/masks

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    bool isIndexed() const { return bitsPerPixel_ <= 8; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    std::size_t stride() const { return stride_; }

    std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
    std::vector<std::uint8_t>& pixels() { return pixels_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

    std::vector<PaletteEntry> palette;  // indexed formats; may be shorter than 2^bits
    ChannelMasks masks;                 // 16 and 32 bits

    static std::size_t strideFor(int width, int bitsPerPixel);

private:
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 24;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// Largest picture any decoder accepts, in pixels (about 16000 × 8000). Keeps a
// hostile header from asking for gigabytes.
inline constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 27;

// Throws ImageError when width × height is not a picture we accept.
void checkDimensions(std::int64_t width, std::int64_t height, const char* format);

// Throws ImageError when a compressed file of `fileBytes` bytes cannot hold
// width × height pixels even at its format's best ratio (`pixelsPerByte`):
// a tiny hostile file must not make us allocate a huge picture.
void checkFitsFile(std::int64_t width, std::int64_t height, std::size_t fileBytes, std::uint64_t pixelsPerByte,
                   const char* format);

// The same picture as 24-bit blue-green-red pixels. A 24-bit picture passed
// as a temporary is handed on, not copied.
Bitmap toBgr24(const Bitmap& source);
Bitmap toBgr24(Bitmap&& source);

}  // namespace tavlo::imaging
