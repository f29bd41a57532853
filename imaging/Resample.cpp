#include "Resample.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tavlo::imaging {
namespace {

using Taps = Resampler::Taps;

// Weights in fixed point that sum to exactly kOne, so flat areas stay flat.
Taps normalised(int first, const std::vector<double>& shares) {
    Taps taps{first, {}};
    double total = 0;
    for (const double share : shares) total += share;
    std::uint32_t given = 0;
    for (std::size_t i = 0; i < shares.size(); ++i) {
        const auto weight = static_cast<std::uint32_t>(std::lround(shares[i] / total * Resampler::kOne));
        taps.weights.push_back(static_cast<std::uint16_t>(weight));
        given += weight;
    }
    // Rounding leaves at most a few units over or under: the largest tap takes them.
    auto largest = std::max_element(taps.weights.begin(), taps.weights.end());
    *largest = static_cast<std::uint16_t>(*largest + Resampler::kOne - given);
    return taps;
}

// Growing: between the two source pixel centres nearest the target's centre.
Taps interpolated(int t, int sourceSize, int targetSize) {
    const double centre = (t + 0.5) * sourceSize / targetSize - 0.5;
    const double floorCentre = std::floor(centre);
    const double fraction = centre - floorCentre;
    const int below = static_cast<int>(floorCentre);
    const int first = std::clamp(below, 0, sourceSize - 1);
    const int second = std::clamp(below + 1, 0, sourceSize - 1);
    if (first == second) return {first, {static_cast<std::uint16_t>(Resampler::kOne)}};
    return normalised(first, {1 - fraction, fraction});
}

// Shrinking: every source pixel the target pixel covers, by the part covered.
Taps averaged(int t, int sourceSize, int targetSize) {
    const double scale = static_cast<double>(sourceSize) / targetSize;
    const double start = t * scale, end = (t + 1) * scale;
    const int first = static_cast<int>(std::floor(start));
    const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(end)) - 1);
    std::vector<double> shares;
    for (int s = first; s <= last; ++s) shares.push_back(std::min<double>(end, s + 1) - std::max<double>(start, s));
    return normalised(first, shares);
}

}  // namespace

std::vector<Taps> Resampler::taps(int sourceSize, int targetSize) {
    std::vector<Taps> all;
    all.reserve(static_cast<std::size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t)
        all.push_back(targetSize >= sourceSize ? interpolated(t, sourceSize, targetSize)
                                               : averaged(t, sourceSize, targetSize));
    return all;
}

Resampler::Resampler(const Bitmap& source, int width, int height) : source_(source), width_(width), height_(height) {
    if (source.bitsPerPixel() != 24 || source.empty() || width <= 0 || height <= 0)
        throw std::invalid_argument("Resampler needs a 24-bit picture and a target size");
    across_ = taps(source.width(), width);
    down_ = taps(source.height(), height);
    for (const Taps& t : down_) ringSize_ = std::max(ringSize_, t.weights.size());
    ++ringSize_;  // the next target row may start one row further down
    ring_.resize(ringSize_ * static_cast<std::size_t>(width) * 3);
    ringRow_.assign(ringSize_, -1);
}

const std::uint16_t* Resampler::scaledAcross(int sourceRow) {
    const std::size_t slot = static_cast<std::size_t>(sourceRow) % ringSize_;
    std::uint16_t* out = ring_.data() + slot * static_cast<std::size_t>(width_) * 3;
    if (ringRow_[slot] == sourceRow) return out;
    ringRow_[slot] = sourceRow;
    const std::uint8_t* in = source_.row(sourceRow);
    for (int x = 0; x < width_; ++x) {
        const Taps& t = across_[static_cast<std::size_t>(x)];
        std::uint32_t b = 0, g = 0, r = 0;
        const std::uint8_t* pixel = in + 3 * static_cast<std::size_t>(t.first);
        for (const std::uint16_t weight : t.weights) {
            b += weight * pixel[0];
            g += weight * pixel[1];
            r += weight * pixel[2];
            pixel += 3;
        }
        // Keep 8 fractional bits for the second pass.
        constexpr int kDrop = kWeightBits - 8;
        out[3 * x] = static_cast<std::uint16_t>((b + (1u << (kDrop - 1))) >> kDrop);
        out[3 * x + 1] = static_cast<std::uint16_t>((g + (1u << (kDrop - 1))) >> kDrop);
        out[3 * x + 2] = static_cast<std::uint16_t>((r + (1u << (kDrop - 1))) >> kDrop);
    }
    return out;
}

void Resampler::row(int y, std::uint8_t* bgr) {
    const Taps& t = down_[static_cast<std::size_t>(y)];
    const std::size_t channels = static_cast<std::size_t>(width_) * 3;
    std::vector<const std::uint16_t*> rows;
    rows.reserve(t.weights.size());
    for (std::size_t k = 0; k < t.weights.size(); ++k) rows.push_back(scaledAcross(t.first + static_cast<int>(k)));
    constexpr int kShift = kWeightBits + 8;
    constexpr std::uint32_t kHalf = 1u << (kShift - 1);
    for (std::size_t i = 0; i < channels; ++i) {
        std::uint32_t sum = kHalf;
        for (std::size_t k = 0; k < rows.size(); ++k) sum += t.weights[k] * static_cast<std::uint32_t>(rows[k][i]);
        bgr[i] = static_cast<std::uint8_t>(std::min<std::uint32_t>(sum >> kShift, 255));
    }
}

}  // namespace tavlo::imaging
