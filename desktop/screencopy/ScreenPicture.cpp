#include "ScreenCopy.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

ScreenPicture cropAt(const ScreenPicture& source, int left, int top, int width, int height) {
    ScreenPicture picture = blackPicture(width, height);
    // The overlap of the source with the cut, in the source's columns and rows.
    const int firstColumn = std::max(0, left), endColumn = std::min(source.width, left + width);
    const int firstRow = std::max(0, top), endRow = std::min(source.height, top + height);
    for (int y = firstRow; y < endRow; ++y) {
        const auto from = source.pixels.begin() + static_cast<std::ptrdiff_t>(y) * source.width;
        std::copy(from + firstColumn, from + std::max(firstColumn, endColumn),
                  picture.pixels.begin() + static_cast<std::ptrdiff_t>(y - top) * width + (firstColumn - left));
    }
    return picture;
}

void ImmediateScreenCopy::grab(const ScreenLayout& layout, Taken taken, Failed failed) {
    ScreenStill still;
    try {
        still = copyPrimaryScreen(layout);
    } catch (const ScreenCopyError& error) {
        failed(error);
        return;
    }
    taken(std::move(still));
}

ScreenStill ImmediateScreenCopy::copyPrimaryScreen(const ScreenLayout& layout) {
    const double ratio = layout.ratio > 0 ? layout.ratio : 1;
    return {CopyScreen(static_cast<int>(std::lround(layout.width * ratio)),
                       static_cast<int>(std::lround(layout.height * ratio))),
            ratio};
}

ScreenStill primaryScreenOfDesktop(const ScreenPicture& desktop, const ScreenLayout& layout) {
    if (desktop.width <= 0 || layout.desktopWidth <= 0)
        throw ScreenCopyError("the desktop's picture (" + std::to_string(desktop.width) + " pixels wide) or its " +
                              std::to_string(layout.desktopWidth) + "-pixel extent gives no scale");
    const double ratio = static_cast<double>(desktop.width) / layout.desktopWidth;
    const auto physical = [ratio](int windowPixels) { return static_cast<int>(std::lround(windowPixels * ratio)); };
    // (0, 0) lies where the desktop's top-left corner does not, if a screen
    // reaches left of or above it.
    return {cropAt(desktop, physical(-layout.desktopLeft), physical(-layout.desktopTop), physical(layout.width),
                   physical(layout.height)),
            ratio};
}

}  // namespace tavlo::screencopy
