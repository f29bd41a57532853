#include "Picture.h"

#include "BmpFormat.h"
#include "GifDecoder.h"
#include "ImagingTexts.h"
#include "JpegDecoder.h"
#include "MappedFile.h"
#include "PngDecoder.h"

#include <cstring>
#include <optional>
#include <type_traits>

namespace tavlo::imaging {

namespace {

[[noreturn]] void unknownFormat() {
    throw ImageError("unknown picture format", ImageFault::UnknownFormat);
}

}  // namespace

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
    unknownFormat();
}

ImageError errorInFile(const ImageError& error, const MappedFile& file) {
    const std::string path(reinterpret_cast<const char*>(file.path().u8string().c_str()));
    const std::string cause = texts::faultCause(error.fault(), detectFormat(file.bytes()));
    return ImageError(error.fault(), texts::unreadableFile(path, cause), path + ": " + error.what());
}

namespace {

// Runs a decoding of the file: a file changed while it was read is the
// cause of whatever went wrong; a picture error names the file.
template <typename Decode>
auto decodeFile(const MappedFile& file, Decode decode) {
    try {
        if constexpr (std::is_void_v<decltype(decode())>) {
            decode();
            file.checkUnchanged();
        } else {
            auto result = decode();
            file.checkUnchanged();
            return result;
        }
    } catch (const ImageError& error) {
        file.checkUnchanged();  // a file cut short is the cause, not a broken picture
        throw errorInFile(error, file);
    }
}

void decodeRows(std::span<const std::uint8_t> bytes, RowSink& sink) {
    switch (detectFormat(bytes)) {
    case PictureFormat::Bmp: return decodeBmp(bytes, sink);
    case PictureFormat::Jpeg: return decodeJpeg(bytes, sink);
    case PictureFormat::Png: return decodePng(bytes, sink);
    case PictureFormat::Gif: return decodeGif(bytes, sink);
    case PictureFormat::Unknown: break;
    }
    unknownFormat();
}

}  // namespace

Bitmap decodePicture(const MappedFile& file) {
    return decodeFile(file, [&] { return decodePicture(file.bytes()); });
}

void decodePictureRows(const MappedFile& file, RowSink& sink) {
    decodeFile(file, [&] { decodeRows(file.bytes(), sink); });
}

void writePictureAsBmp(const MappedFile& file, AtomicFile& target, RowSink* also) {
    BmpRowWriter writer(target);
    std::optional<BothSinks> both;
    if (also) both.emplace(writer, *also);
    RowSink& sink = also ? static_cast<RowSink&>(*both) : writer;
    decodePictureRows(file, sink);
    writer.finish();
}

Bitmap loadPicture(const std::filesystem::path& path) {
    return decodePicture(MappedFile(path));
}

}  // namespace tavlo::imaging
