#include "BmpFormat.h"
#include "JpegToBmp.h"
#include "MappedFile.h"
#include "Picture.h"
#include "uGlobal.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

namespace {

// Decodes by content: a ".jpg" that holds a JPEG streams; anything else that
// decodes is written whole in its own format.
std::filesystem::path convertToSiblingBmp(const std::filesystem::path& source) {
    std::filesystem::path target = source;
    target.replace_extension(".bmp");
    const MappedFile file(source);
    if (imaging::detectFormat(file.bytes()) == imaging::PictureFormat::Jpeg) {
        imaging::writeJpegAsBmp(file, target);
    } else {
        imaging::writeBmp(imaging::decodePicture(file), target);
    }
    return target;
}

}  // namespace

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = pathToText(path.extension());
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

std::filesystem::path JpegToBmp(const std::filesystem::path& source) {
    return convertToSiblingBmp(source);
}

std::filesystem::path GifToBmp(const std::filesystem::path& source) {
    return convertToSiblingBmp(source);
}

std::filesystem::path ConvertToBmp(const std::filesystem::path& source) {
    const std::string ext = lowerExtension(source);
    if (ext == ".bmp") return source;
    if (ext == ".jpg" || ext == ".jpeg") return JpegToBmp(source);
    if (ext == ".gif") return GifToBmp(source);
    return {};
}

}  // namespace tavlo
