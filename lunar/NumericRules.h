#pragma once
// The engine's numeric conventions. Integer division truncates toward zero
// (C++ `/` and `%` on integers already do); the real-valued helpers below are
// spelled out so that every formula reads exactly as it computes.
#include <cmath>

namespace tavlo::lunar {

inline double Trunc(double x) {
    return std::trunc(x);
}
inline double Floor(double x) {
    return std::floor(x);
}

// Nearest integer, halves to the even neighbour, whatever the FPU rounding mode.
inline double Round(double x) {
    const double below = std::floor(x);
    const double diff = x - below;
    if (diff > 0.5) return below + 1.0;
    if (diff < 0.5) return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// x - Trunc(x): negative for negative x.
inline double FracPart(double x) {
    return x - std::trunc(x);
}

// a × FracPart(b ÷ a): keeps the sign of b, unlike a floored modulus.
inline double RealMod(double a, double b) {
    return a * FracPart(b / a);
}

inline int FloorToInt(double x) {
    return static_cast<int>(Floor(x));
}
inline int RoundToInt(double x) {
    return static_cast<int>(Round(x));
}

}  // namespace tavlo::lunar
