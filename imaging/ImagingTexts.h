#pragma once
#include "Bitmap.h"
#include "Picture.h"

#include <string>

// Every text of the imaging module that a user may see, in Chinese. The
// decoders' own accounts (what() of an ImageError) are for the log only.
namespace tavlo::imaging::texts {

// What is wrong with a picture, in the user's terms; the format's name where
// it is known ("BMP 图片的数据已损坏或不完整").
std::string faultCause(ImageFault fault, PictureFormat format = PictureFormat::Unknown);

// A file that could not be read as a picture: "“name”不是可读取的图片：cause".
std::string unreadableFile(const std::string& shownPath, const std::string& cause);

}  // namespace tavlo::imaging::texts
