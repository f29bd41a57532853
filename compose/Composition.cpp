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
    background.decoded_ = imaging::decodePicture(bytes);
    return background;
}

int Background::width() const { return layout_ ? layout_->width : decoded_->width(); }
int Background::height() const { return layout_ ? layout_->height : decoded_->height(); }

void Background::composeInto(const Bitmap& content, Placement at, const std::filesystem::path& target) const {
    if (layout_) {
        writePatchedCopy(content, at, target);
        return;
    }
    Bitmap composite = *decoded_;
    OverlayBitmap(content, composite, at.x, at.y);
    imaging::writeBmp(composite, target);
}

// The composite differs from the background file only in the rows the content
// covers: write the file's own bytes around those rows, patched, in one
// gathered write. Headers, palette and trailing bytes stay as they were.
void Background::writePatchedCopy(const Bitmap& content, Placement at, const std::filesystem::path& target) const {
    const BmpLayout& layout = *layout_;
    const auto file = file_.bytes();
    const int firstRow = std::max(0, at.y);
    const int lastRow = std::min(layout.height, at.y + content.height());  // one past
    AtomicFile out(target, AtomicFile::Sync::Fast);
    if (firstRow >= lastRow) {
        out.copyFrom(file_.fd(), 0, file.size());
        out.commit();
        return;
    }
    // Rows firstRow..lastRow-1 lie together in the file, in file order.
    const std::size_t blockStart = std::min(layout.rowOffset(firstRow), layout.rowOffset(lastRow - 1));
    const std::size_t blockSize = layout.stride * static_cast<std::size_t>(lastRow - firstRow);
    std::vector<std::uint8_t> block(file.begin() + static_cast<std::ptrdiff_t>(blockStart),
                                    file.begin() + static_cast<std::ptrdiff_t>(blockStart + blockSize));

    Bitmap format(1, 1, layout.bitsPerPixel);
    format.palette = layout.palette;
    format.masks = layout.masks;
    imaging::PixelWriter writer(format);
    const imaging::PixelReader reader(content);
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(content.width()) * 3);
    for (int y = firstRow; y < lastRow; ++y) {
        reader.readRow(y - at.y, bgr.data());
        std::uint8_t* row = block.data() + (layout.rowOffset(y) - blockStart);
        pasteRow(writer, row, layout.width, bgr.data(), content.width(), at.x);
    }

    // The unchanged parts are copied file to file inside the kernel.
    const std::size_t tail = blockStart + blockSize;
    out.copyFrom(file_.fd(), 0, blockStart);
    out.write(block.data(), block.size());
    out.copyFrom(file_.fd(), static_cast<off_t>(tail), file.size() - tail);
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
