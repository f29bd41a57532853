#include "Composition.h"

#include "AtomicFile.h"
#include "CBmp.h"
#include "FileError.h"
#include "Picture.h"
#include "PixelChannels.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tavlo {

using imaging::Bitmap;
using imaging::BmpLayout;

Background Background::load(const std::filesystem::path& path) {
    Background background{MappedFile(path)};
    const auto bytes = background.file_.bytes();
    if (imaging::detectFormat(bytes) == imaging::PictureFormat::Bmp) {
        BmpLayout layout = imaging::parseBmpLayout(bytes);
        if (layout.isUncompressed()) {
            background.layout_ = std::move(layout);
            return background;
        }
    }
    background.decoded_ = imaging::decodePicture(background.file_);
    return background;
}

int Background::width() const {
    return layout_ ? layout_->width : decoded_->width();
}
int Background::height() const {
    return layout_ ? layout_->height : decoded_->height();
}

imaging::Bitmap Background::pixels() const {
    return imaging::toBgr24(decoded_ ? *decoded_ : imaging::decodePicture(file_));
}

void Background::composeInto(const Bitmap& content, Placement at, const std::filesystem::path& target) const {
    if (layout_) {
        writePatchedCopy(content, at, target);
        return;
    }
    Bitmap composite = *decoded_;
    OverlayBitmap(content, composite, at.x, at.y);
    imaging::writeBmp(composite, target);
}

// The composite differs from the background file only where the content
// lies: copy the whole file inside the kernel, as cp does, then write the
// pasted bytes of each covered row at their places. Headers, palette and
// trailing bytes stay exactly as they were.
void Background::writePatchedCopy(const Bitmap& content, Placement at, const std::filesystem::path& target) const {
    const BmpLayout& layout = *layout_;
    const auto file = file_.bytes();
    AtomicFile out(target, AtomicFile::Sync::Fast);
    out.copyFrom(file_, 0, file.size());

    const int firstRow = std::max(0, at.y);
    const int lastRow = std::min(layout.height, at.y + content.height());  // one past
    const int firstColumn = std::max(0, at.x);
    const int lastColumn = std::min(layout.width, at.x + content.width());  // one past
    if (firstRow < lastRow && firstColumn < lastColumn) {
        // The bytes that hold the covered columns (whole bytes for 1 and 4 bits).
        const std::size_t firstByte = static_cast<std::size_t>(firstColumn) * layout.bitsPerPixel / 8;
        const std::size_t endByte = (static_cast<std::size_t>(lastColumn) * layout.bitsPerPixel + 7) / 8;
        imaging::PixelWriter writer(layout.bitsPerPixel, layout.palette, layout.masks);
        const imaging::PixelReader reader(content);
        std::vector<std::uint8_t> bgr(static_cast<std::size_t>(content.width()) * 3);
        std::vector<std::uint8_t> row(layout.stride);
        for (int y = firstRow; y < lastRow; ++y) {
            const std::size_t offset = layout.rowOffset(y);
            std::memcpy(row.data(), file.data() + offset, layout.stride);
            reader.readRow(y - at.y, bgr.data());
            pasteRow(writer, row.data(), layout.width, bgr.data(), content.width(), at.x);
            out.writeAt(static_cast<off_t>(offset + firstByte), row.data() + firstByte, endByte - firstByte);
        }
    }
    file_.checkUnchanged();  // a background cut short meanwhile gives no composite
    out.commit();
}

Composition::Composition(std::filesystem::path backgroundFolder) : folder_(std::move(backgroundFolder)) {}

void Composition::SaveContentPicture(const Bitmap& currentPicture) {
    std::filesystem::create_directories(folder_);
    imaging::writeBmp(currentPicture, contentPath());
    content_ = imaging::loadPicture(contentPath());
}

bool Composition::LoadBackground(const std::filesystem::path& path) {
    background_.reset();
    try {
        background_ = Background::load(path);
        return true;
    } catch (const imaging::ImageError&) {
        return false;
    } catch (const FileError&) {
        return false;
    }
}

void Composition::ComposeWallpaper() {
    if (!background_ || !content_) throw std::logic_error("the composition needs a background and a content picture");
    background_->composeInto(*content_, Placement::onBackground(background_->width(), content_->width()), mixPath());
}

}  // namespace tavlo
