#include "Picture.h"

#include "BmpFormat.h"
#include "GifDecoder.h"
#include "JpegDecoder.h"
#include "MappedFile.h"
#include "PngDecoder.h"

#include <cstring>

namespace tavlo::imaging {

PictureFormat detectFormat(std::span<const std::uint8_t> bytes) {
    const auto startsWith = [&](std::string_view magic) {
        return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
    };
    if (startsWith("BM")) return PictureFormat::Bmp;
    if (startsWith("\xFF\xD8\xFF")) return PictureFormat::Jpeg;
    if (startsWith("\x89PNG\r\n\x1A\n")) return PictureFormat::Png;
    if (startsWith("GIF87a") || startsWith("GIF89a")) return PictureFormat::Gif;
    return PictureFormat::Unknown;
}

Bitmap decodePicture(std::span<const std::uint8_t> bytes) {
    switch (detectFormat(bytes)) {
    case PictureFormat::Bmp: return readBmp(bytes);
    case PictureFormat::Jpeg: return decodeJpeg(bytes);
    case PictureFormat::Png: return decodePng(bytes);
    case PictureFormat::Gif: return decodeGif(bytes);
    case PictureFormat::Unknown: break;
    }
    throw ImageError("not a picture in a known format (BMP, JPEG, PNG or GIF)");
}

Bitmap loadPicture(const std::filesystem::path& path) {
    const MappedFile file(path);
    try {
        return decodePicture(file.bytes());
    } catch (const ImageError& error) {
        throw ImageError("“" + std::string(reinterpret_cast<const char*>(path.u8string().c_str())) +
                         "”不是可读取的图片：" + error.what());
    }
}

}  // namespace tavlo::imaging
