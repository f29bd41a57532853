#include "AtomicFile.h"
#include "BmpFormat.h"
#include "JpegDecoder.h"
#include "MappedFile.h"
#include "Picture.h"
#include "uGlobal.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace tavlo {

namespace {

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = pathToText(path.extension());
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

// Streams a JPEG into a bottom-up 24-bit BMP: each decoded row is written at
// its final place, so the picture is never held whole.
void streamJpegToBmp(std::span<const std::uint8_t> jpeg, const std::filesystem::path& target) {
    std::unique_ptr<AtomicFile> file;
    std::vector<std::uint8_t> row;
    std::size_t headerSize = 0, pixelBytes = 0;
    int height = 0;
    imaging::decodeJpegRows(
        jpeg,
        [&](int width, int h) {
            height = h;
            pixelBytes = static_cast<std::size_t>(width) * 3;
            const auto headers = imaging::bmpHeaders(width, h, 24, {}, {});
            headerSize = headers.size();
            row.assign(imaging::Bitmap::strideFor(width, 24), 0);
            file = std::make_unique<AtomicFile>(target, AtomicFile::Sync::Fast);
            file->reserve(static_cast<off_t>(headerSize + row.size() * static_cast<std::size_t>(h)));
            file->writeAt(0, headers.data(), headers.size());
        },
        [&](int y, const std::uint8_t* bgr) {
            std::memcpy(row.data(), bgr, pixelBytes);  // the row's padding stays zero
            const std::size_t stored = static_cast<std::size_t>(height - 1 - y);
            file->writeAt(static_cast<off_t>(headerSize + stored * row.size()), row.data(), row.size());
        });
    file->commit();
}

// Decodes by content: a ".jpg" that holds a JPEG streams; anything else that
// decodes is written whole in its own format.
std::filesystem::path convertToSiblingBmp(const std::filesystem::path& source) {
    std::filesystem::path target = source;
    target.replace_extension(".bmp");
    const MappedFile file(source);
    if (imaging::detectFormat(file.bytes()) == imaging::PictureFormat::Jpeg) {
        streamJpegToBmp(file.bytes(), target);
    } else {
        imaging::writeBmp(imaging::decodePicture(file.bytes()), target);
    }
    return target;
}

}  // namespace

std::filesystem::path JpegToBmp(const std::filesystem::path& source) { return convertToSiblingBmp(source); }

std::filesystem::path GifToBmp(const std::filesystem::path& source) { return convertToSiblingBmp(source); }

std::filesystem::path ConvertToBmp(const std::filesystem::path& source) {
    const std::string ext = lowerExtension(source);
    if (ext == ".bmp") return source;
    if (ext == ".jpg" || ext == ".jpeg") return JpegToBmp(source);
    if (ext == ".gif") return GifToBmp(source);
    return {};
}

}  // namespace tavlo
