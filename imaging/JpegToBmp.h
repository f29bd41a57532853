#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

namespace tavlo::imaging {

// Decodes a JPEG straight into a bottom-up 24-bit BMP file: each row is
// written at its final place as it is decoded, so the picture is never held
// whole. The file is replaced atomically; throws ImageError or FileError.
void writeJpegAsBmp(std::span<const std::uint8_t> jpeg, const std::filesystem::path& target);

}  // namespace tavlo::imaging
