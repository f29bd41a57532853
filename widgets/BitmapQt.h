#pragma once
#include "Bitmap.h"

#include <QImage>

#include <filesystem>

namespace tavlo::widgets {

// A bitmap of any pixel format as a 24-bit QImage (Format_BGR888); an empty
// bitmap gives a null image.
QImage toQImage(const tavlo::imaging::Bitmap& bitmap);

// The bitmap as an image for showing. Where Qt has the bitmap's pixel format
// (24 bits, 32 and 16 bits with the usual masks, 8 and 1 bits with a palette)
// the image lies over the bitmap's own rows, without a copy, and stays valid
// only while the bitmap lives unchanged; other formats give a 24-bit copy.
QImage pictureImage(const tavlo::imaging::Bitmap& bitmap);

// A QImage as a 24-bit blue-green-red bitmap; transparent and translucent
// pixels are drawn over white.
tavlo::imaging::Bitmap fromQImage(const QImage& image);

// Reads a picture through Qt's readers, for the formats the program's own
// codecs do not read (icons, say), from the file's bytes: any file name
// works. Throws ImageError when Qt cannot read it, FileError when the file
// cannot be read.
imaging::Bitmap readPictureWithQt(const std::filesystem::path& path);

}  // namespace tavlo::widgets
