#pragma once
#include "Bitmap.h"

#include <QImage>

#include <filesystem>

namespace tavlo::widgets {

// A bitmap of any pixel format as a 24-bit QImage (Format_BGR888); an empty
// bitmap gives a null image.
QImage toQImage(const tavlo::imaging::Bitmap& bitmap);

// A QImage as a 24-bit blue-green-red bitmap; transparent and translucent
// pixels are drawn over white.
tavlo::imaging::Bitmap fromQImage(const QImage& image);

// Where an open dialog for pictures starts: the user's pictures folder, or
// the home folder when there is none.
QString picturesFolder();

// Loads a picture for showing in a picture control: BMP, JPEG, PNG and GIF
// through the program's own codecs, other formats Qt can read (icons, say)
// through Qt. Throws the codec's error when neither can read the file.
imaging::Bitmap loadShownPicture(const std::filesystem::path& path);

}  // namespace tavlo::widgets
