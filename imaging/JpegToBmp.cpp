#include "JpegToBmp.h"

#include "AtomicFile.h"
#include "BmpFormat.h"
#include "JpegDecoder.h"
#include "MappedFile.h"

#include <algorithm>
#include <vector>

namespace tavlo::imaging {

namespace {

constexpr int kBatchRows = 32;

void convert(std::span<const std::uint8_t> jpeg, const std::filesystem::path& target, const MappedFile* source) {
    JpegReader reader(jpeg);
    const int width = reader.width(), height = reader.height();
    const std::vector<std::uint8_t> headers = bmpHeaders(width, height, 24, {}, {});
    const std::size_t stride = Bitmap::strideFor(width, 24);
    AtomicFile file(target, AtomicFile::Sync::Fast);
    file.writeAt(0, headers.data(), headers.size());

    // A batch of rows is decoded straight into a buffer laid out in file order
    // (bottom-up: the last row of the batch first) and written with one call.
    std::vector<std::uint8_t> batch(stride * kBatchRows, 0);
    std::vector<std::uint8_t*> rows(kBatchRows);
    for (int top = 0; top < height; top += kBatchRows) {
        const int count = std::min(kBatchRows, height - top);
        for (int i = 0; i < count; ++i) rows[static_cast<std::size_t>(i)] = batch.data() + (count - 1 - i) * stride;
        reader.readRows(std::span(rows.data(), static_cast<std::size_t>(count)));
        const std::size_t firstStored = static_cast<std::size_t>(height - top - count);
        file.writeAt(headers.size() + firstStored * stride, batch.data(), stride * count);
    }
    if (source) source->checkUnchanged();
    file.commit();
}

}  // namespace

void writeJpegAsBmp(std::span<const std::uint8_t> jpeg, const std::filesystem::path& target) {
    convert(jpeg, target, nullptr);
}

void writeJpegAsBmp(const MappedFile& jpeg, const std::filesystem::path& target) {
    convert(jpeg.bytes(), target, &jpeg);
}

}  // namespace tavlo::imaging
