#pragma once
#include "Bitmap.h"

#include <QImage>

#include <filesystem>
#include <vector>

namespace tavlo::widgets {

// A bitmap of any pixel format as a 24-bit QImage (Format_BGR888); an empty
// bitmap gives a null image.
QImage toQImage(const tavlo::imaging::Bitmap& bitmap);

// A QImage as a 24-bit blue-green-red bitmap; transparent and translucent
// pixels are drawn over white.
tavlo::imaging::Bitmap fromQImage(const QImage& image);

// An open dialog for pictures, named `name`, listing the files `filter`
// matches (title, then patterns; the title alone is shown). It starts in the
// user's pictures folder (or home). The chosen files; none when cancelled.
std::vector<std::filesystem::path> choosePictures(QWidget* parent, const char* name, const QString& filter,
                                                  bool several);

// Loads a picture for showing in a picture control: BMP, JPEG, PNG and GIF
// through the program's own codecs, other formats Qt can read (icons, say)
// through Qt. Throws the codec's error when neither can read the file.
imaging::Bitmap loadShownPicture(const std::filesystem::path& path);

}  // namespace tavlo::widgets
