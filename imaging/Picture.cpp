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
    throw ImageError("未知的图片格式（可读取 BMP、JPEG、PNG 和 GIF）");
}

Bitmap decodePicture(const MappedFile& file) {
    try {
        Bitmap bitmap = decodePicture(file.bytes());
        file.checkUnchanged();
        return bitmap;
    } catch (const ImageError& error) {
        file.checkUnchanged();  // a file cut short is the cause, not a broken picture
        throw ImageError("“" + std::string(reinterpret_cast<const char*>(file.path().u8string().c_str())) +
                         "”不是可读取的图片：" + error.what());
    }
}

Bitmap loadPicture(const std::filesystem::path& path) {
    return decodePicture(MappedFile(path));
}

}  // namespace tavlo::imaging
