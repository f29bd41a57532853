#pragma once
#include "Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace tavlo {
class MappedFile;
}

namespace tavlo::imaging {

enum class PictureFormat { Unknown, Bmp, Jpeg, Png, Gif };

// The format a file's first bytes announce; the file name plays no part.
PictureFormat detectFormat(std::span<const std::uint8_t> bytes);

// Decodes a picture of any supported format. JPEG, PNG and GIF give 24-bit
// bitmaps (transparent areas drawn over white); a BMP keeps its own format.
Bitmap decodePicture(std::span<const std::uint8_t> bytes);

// Decodes an open file; throws ImageError, or FileError when the file was
// changed while it was read.
Bitmap decodePicture(const MappedFile& file);

// Reads and decodes a file; throws FileError or ImageError.
Bitmap loadPicture(const std::filesystem::path& path);

}  // namespace tavlo::imaging
