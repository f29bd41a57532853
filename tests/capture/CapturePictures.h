#pragma once
#include "ScreenCopy.h"

#include <QImage>

namespace tavlo::test {

// A screen whose every pixel differs from its neighbours:
// red = x, green = y, blue = 7x + 13y (each mod 256).
inline screencopy::ScreenPicture patternScreen(int width, int height) {
    screencopy::ScreenPicture picture = screencopy::blackPicture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels[static_cast<std::size_t>(y * width + x)] = qRgb(x % 256, y % 256, (7 * x + 13 * y) % 256);
    return picture;
}

inline QImage patternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const screencopy::ScreenPicture screen = patternScreen(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, screen.pixel(x, y));
    return image;
}

}  // namespace tavlo::test
