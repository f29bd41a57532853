#include "JpegToBmp.h"

#include "AtomicFile.h"
#include "BmpFormat.h"
#include "JpegDecoder.h"

#include <cstring>
#include <memory>
#include <vector>

namespace tavlo::imaging {

void writeJpegAsBmp(std::span<const std::uint8_t> jpeg, const std::filesystem::path& target) {
    std::unique_ptr<AtomicFile> file;
    std::vector<std::uint8_t> row;  // one stored row; its padding stays zero
    std::size_t headerSize = 0, pixelBytes = 0;
    int height = 0;
    decodeJpegRows(
        jpeg,
        [&](int width, int h) {
            const auto headers = bmpHeaders(width, h, 24, {}, {});
            headerSize = headers.size();
            pixelBytes = static_cast<std::size_t>(width) * 3;
            height = h;
            row.assign(Bitmap::strideFor(width, 24), 0);
            file = std::make_unique<AtomicFile>(target, AtomicFile::Sync::Fast);
            file->writeAt(0, headers.data(), headers.size());
        },
        [&](int y, const std::uint8_t* bgr) {
            std::memcpy(row.data(), bgr, pixelBytes);
            const auto stored = static_cast<std::size_t>(height - 1 - y);
            file->writeAt(static_cast<off_t>(headerSize + stored * row.size()), row.data(), row.size());
        });
    file->commit();
}

}  // namespace tavlo::imaging
