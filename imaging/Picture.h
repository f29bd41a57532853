#pragma once
#include "Bitmap.h"
#include "RowSink.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace tavlo {
class AtomicFile;
class MappedFile;
}  // namespace tavlo

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

// The error of reading `file` as a picture: the same fault, told with the
// file's name and format.
ImageError errorInFile(const ImageError& error, const MappedFile& file);

// Reads and decodes a file; throws FileError or ImageError.
Bitmap loadPicture(const std::filesystem::path& path);

// Decodes a picture of any supported format as 24-bit rows to a sink; only
// the wanted part is decoded where the format allows. Errors as above.
void decodePictureRows(const MappedFile& file, RowSink& sink);

// Decodes a picture and writes it as a 24-bit BMP file into
// `target` (left uncommitted), row by row, so that the picture is not held
// whole (an interlaced PNG excepted, drawn whole first). `also`, if given,
// takes the rows as well. Errors as above.
void writePictureAsBmp(const MappedFile& file, AtomicFile& target, RowSink* also = nullptr);

}  // namespace tavlo::imaging
