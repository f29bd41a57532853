#pragma once
#include "Bitmap.h"
#include "ProgramFolder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tavlo {

// A BMP file holding the picture at `source`, by its extension (any case):
// ".bmp" gives `source` itself, ".jpg"/".jpeg" and ".gif" a converted ".bmp"
// beside it, anything else an empty path. Throws when a conversion fails.
std::filesystem::path ConvertToBmp(const std::filesystem::path& source);
std::filesystem::path JpegToBmp(const std::filesystem::path& source);
std::filesystem::path GifToBmp(const std::filesystem::path& source);
// A ".bmp" beside a PNG file (the background library keeps its pictures so).
std::filesystem::path PngToBmp(const std::filesystem::path& source);

// Where an inserted ".jpg", ".jpeg" or ".gif" picture's BMP goes, in order:
// beside the source under its name with ".bmp"; where that cannot be written
// (a read-only share, installed wallpapers, a CD) in the program's "tmp\"
// folder under insertedPictureName.
std::vector<std::filesystem::path> insertedPictureTargets(const std::filesystem::path& source,
                                                          const ProgramFolder& folder);

// The BMP file an inserted picture becomes, written from `picture`, the
// picture already decoded for showing (so that it is not decoded twice), at
// the first of insertedPictureTargets that takes it. Returns the file
// written; throws FileError when none can be written.
std::filesystem::path writeInsertedPicture(const imaging::Bitmap& picture, const std::filesystem::path& source,
                                           const ProgramFolder& folder);

// The name an inserted picture's BMP takes in "tmp\": one per source file,
// so that no two pictures share one ("tmp\tmp.bmp" is never one of them).
std::string insertedPictureName(const std::filesystem::path& source);

// A path's extension with its dot, in lower case (".jpg"); empty if none.
// The conversions, the insert command and the background list choose by it.
std::string lowerExtension(const std::filesystem::path& path);

}  // namespace tavlo
