#include "PictureConversion.h"

#include "AtomicFile.h"
#include "BmpFormat.h"
#include "FileError.h"
#include "MappedFile.h"
#include "PathText.h"
#include "Picture.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace tavlo {

namespace {

// Decodes by content: a JPEG, PNG or GIF streams row by row into a 24-bit
// BMP; a BMP (under another name) is written whole in its own format.
std::filesystem::path convertToSiblingBmp(const std::filesystem::path& source) {
    std::filesystem::path target = source;
    target.replace_extension(".bmp");
    const MappedFile file(source);
    if (imaging::detectFormat(file.bytes()) == imaging::PictureFormat::Bmp) {
        imaging::writeBmp(imaging::decodePicture(file), target);
    } else {
        AtomicFile bmp(target, AtomicFile::Sync::Fast);
        imaging::writePictureAsBmp(file, bmp);
        bmp.commit();
    }
    return target;
}

}  // namespace

std::string insertedPictureName(const std::filesystem::path& source) {
    // FNV-1a over the full path: the same source keeps its name (a second
    // insert replaces its own file), different sources get different ones.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : pathToText(std::filesystem::absolute(source).lexically_normal())) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string("insert-") + hex + ".bmp";
}

std::vector<std::filesystem::path> insertedPictureTargets(const std::filesystem::path& source,
                                                          const ProgramFolder& folder) {
    std::filesystem::path beside = source;
    beside.replace_extension(".bmp");
    return {beside, folder.pathForWrite("tmp\\" + insertedPictureName(source))};
}

std::filesystem::path writeInsertedPicture(const imaging::Bitmap& picture, const std::filesystem::path& source,
                                           const ProgramFolder& folder) {
    const std::vector<std::filesystem::path> targets = insertedPictureTargets(source, folder);
    for (std::size_t k = 0;; ++k) {
        try {
            imaging::writeBmp(picture, targets[k]);
            return targets[k];
        } catch (const FileError&) {
            if (k + 1 == targets.size()) throw;  // else the next place may take it
        }
    }
}

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

std::filesystem::path PngToBmp(const std::filesystem::path& source) {
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
