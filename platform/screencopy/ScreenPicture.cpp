#include "ScreenCopy.h"

#include <algorithm>

namespace tavlo::screencopy {

ScreenPicture blackPicture(int width, int height) {
    // Larger than any screen there is (16K × 16K), and small enough never to
    // overflow the pixel count.
    constexpr int kLargest = 16384;
    if (width <= 0 || height <= 0 || width > kLargest || height > kLargest)
        throw ScreenCopyError("the screen size " + std::to_string(width) + " x " + std::to_string(height) +
                              " cannot be copied");
    ScreenPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFF000000u);
    return picture;
}

ScreenPicture cropFromOrigin(const ScreenPicture& source, int width, int height) {
    ScreenPicture picture = blackPicture(width, height);
    const int columns = std::min(width, source.width);
    const int rows = std::min(height, source.height);
    for (int y = 0; y < rows; ++y) {
        const auto from = source.pixels.begin() + static_cast<std::ptrdiff_t>(y) * source.width;
        std::copy(from, from + columns, picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    return picture;
}

}  // namespace tavlo::screencopy
