#pragma once
#include "Bitmap.h"

#include <cstdint>
#include <vector>

namespace tavlo::imaging {

// A 24-bit blue-green-red picture scaled smoothly to width × height, one row
// at a time: each axis is averaged over the area a target pixel covers where
// it shrinks, and interpolated linearly between pixel centres where it grows.
// Rows are asked for from top to bottom; each source row is scaled across
// once, and only the rows still needed are kept.
class Resampler {
public:
    Resampler(const Bitmap& source, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Writes target row `y` into `bgr` (3 × width bytes). Rows must come in
    // increasing order.
    void row(int y, std::uint8_t* bgr);

    // One target pixel's share of the source along an axis: source pixels
    // first .. first + weights.size() - 1, weights summing to kOne.
    struct Taps {
        int first = 0;
        std::vector<std::uint16_t> weights;
    };
    static constexpr int kWeightBits = 14;
    static constexpr std::uint32_t kOne = 1u << kWeightBits;
    static std::vector<Taps> taps(int sourceSize, int targetSize);

private:
    const std::uint16_t* scaledAcross(int sourceRow);

    const Bitmap& source_;
    int width_, height_;
    std::vector<Taps> across_, down_;
    // Source rows scaled across, 8 fractional bits per channel, in a ring of
    // as many rows as a target row draws on.
    std::vector<std::uint16_t> ring_;
    std::vector<int> ringRow_;
    std::size_t ringSize_ = 0;
};

}  // namespace tavlo::imaging
