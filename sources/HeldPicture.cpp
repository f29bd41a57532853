#include "HeldPicture.h"

#include "AtomicFile.h"
#include "BmpFormat.h"
#include "FileError.h"
#include "MappedFile.h"
#include "Picture.h"

#include <exception>
#include <memory>

namespace tavlo {

using imaging::Bitmap;
using imaging::PictureFormat;

HeldPicture::HeldPicture(Bitmap whole) : shown_(std::move(whole)) {
    width_ = shown_.width();
    height_ = shown_.height();
}

HeldPicture HeldPicture::fromPart(imaging::TopLeftPart& part, const std::filesystem::path& file) {
    const int width = part.pictureWidth(), height = part.pictureHeight();
    HeldPicture picture(part.take());
    picture.width_ = width;
    picture.height_ = height;
    if (!picture.isWhole()) picture.file_ = file;
    return picture;
}

HeldPicture HeldPicture::load(const std::filesystem::path& path, Limit limit, const OtherFormats& others) {
    try {
        return loadOwnFormat(path, limit);
    } catch (const imaging::ImageError&) {
        if (!others) throw;
        // Another reader may still make something of it; if it cannot
        // either, our own reader's reason is the one told.
        const std::exception_ptr ours = std::current_exception();
        try {
            return HeldPicture(others(path));
        } catch (const imaging::ImageError&) {
            std::rethrow_exception(ours);
        }
    }
}

HeldPicture HeldPicture::loadOwnFormat(const std::filesystem::path& path, Limit limit) {
    const MappedFile file(path);
    if (imaging::detectFormat(file.bytes()) == PictureFormat::Bmp) {
        // A BMP that fits keeps its own pixel format, as its copies will.
        std::optional<imaging::BmpLayout> layout;
        try {
            layout = imaging::parseBmpLayout(file.bytes());
        } catch (const imaging::ImageError& error) {
            file.checkUnchanged();  // a file cut short meanwhile is the cause
            throw imaging::errorInFile(error, file);
        }
        if (layout->width <= limit.width && layout->height <= limit.height)
            return HeldPicture(imaging::decodePicture(file));
    }
    imaging::TopLeftPart part(limit.width, limit.height);
    imaging::decodePictureRows(file, part);
    return fromPart(part, path);
}

const Bitmap& HeldPicture::whole(std::optional<Bitmap>& storage) const {
    if (isWhole()) return shown_;
    return storage.emplace(imaging::loadPicture(file_));
}

namespace {

// The first target that can be written, opened; none when none can.
std::unique_ptr<AtomicFile> openFirstWritable(std::span<const std::filesystem::path> targets,
                                              std::filesystem::path& opened) {
    for (const std::filesystem::path& target : targets) {
        try {
            auto file = std::make_unique<AtomicFile>(target, AtomicFile::Sync::Fast);
            opened = target;
            return file;
        } catch (const FileError&) {
            // That folder cannot take the file: the next one may.
        }
    }
    return nullptr;
}

}  // namespace

std::optional<HeldPicture> convertInsertedPicture(const std::filesystem::path& chosen,
                                                  std::span<const std::filesystem::path> targets,
                                                  HeldPicture::Limit limit, std::filesystem::path& written) {
    const MappedFile file(chosen);
    const PictureFormat format = imaging::detectFormat(file.bytes());
    if (format != PictureFormat::Jpeg && format != PictureFormat::Png && format != PictureFormat::Gif)
        return std::nullopt;
    written.clear();
    imaging::TopLeftPart part(limit.width, limit.height);
    std::filesystem::path target;
    std::unique_ptr<AtomicFile> bmp = openFirstWritable(targets, target);
    if (!bmp) {
        imaging::decodePictureRows(file, part);
        return HeldPicture::fromPart(part, chosen);
    }
    imaging::writePictureAsBmp(file, *bmp, &part);
    try {
        bmp->commit();
        written = target;
    } catch (const FileError&) {
        // The folder took the new file but not its name (a full disk, say):
        // the picture is still shown, from the chosen file.
        return HeldPicture::fromPart(part, chosen);
    }
    return HeldPicture::fromPart(part, written);
}

}  // namespace tavlo
