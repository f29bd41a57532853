#include "RowSink.h"

#include "AtomicFile.h"
#include "BmpFormat.h"

#include <algorithm>
#include <cstring>

namespace tavlo::imaging {

void WholePicture::putRow(int y, const std::uint8_t* bgr) {
    std::memcpy(bitmap_.row(y), bgr, static_cast<std::size_t>(bitmap_.width()) * 3);
}

void TopLeftPart::start(int width, int height) {
    width_ = width;
    height_ = height;
    part_ = Bitmap(std::min(width, maxWidth_), std::min(height, maxHeight_), 24);
}

void TopLeftPart::putRow(int y, const std::uint8_t* bgr) {
    if (y < part_.height()) std::memcpy(part_.row(y), bgr, static_cast<std::size_t>(part_.width()) * 3);
}

void BothSinks::start(int width, int height) {
    first_.start(width, height);
    second_.start(width, height);
}

void BothSinks::putRow(int y, const std::uint8_t* bgr) {
    if (y < first_.rowsWanted()) first_.putRow(y, bgr);
    if (y < second_.rowsWanted()) second_.putRow(y, bgr);
}

int BothSinks::rowsWanted() const {
    return std::max(first_.rowsWanted(), second_.rowsWanted());
}

int BothSinks::columnsWanted() const {
    return std::max(first_.columnsWanted(), second_.columnsWanted());
}

void BmpRowWriter::start(int width, int height) {
    width_ = width;
    height_ = height;
    const std::vector<std::uint8_t> headers = bmpHeaders(width, height, 24, {}, {});
    headerSize_ = headers.size();
    stride_ = Bitmap::strideFor(width, 24);
    file_.writeAt(0, headers.data(), headers.size());
    batch_.assign(stride_ * kBatchRows, 0);  // the padding stays zero
    count_ = 0;
}

void BmpRowWriter::putRow(int y, const std::uint8_t* bgr) {
    if (count_ == kBatchRows || (count_ > 0 && y != first_ + count_)) flush();
    if (count_ == 0) first_ = y;
    std::uint8_t* slot = batch_.data() + static_cast<std::size_t>(kBatchRows - 1 - count_) * stride_;
    std::memcpy(slot, bgr, static_cast<std::size_t>(width_) * 3);
    ++count_;
}

void BmpRowWriter::flush() {
    if (count_ == 0) return;
    // The batch's rows lie together in the file, its last row first.
    const std::size_t stored = static_cast<std::size_t>(height_ - first_ - count_);
    file_.writeAt(headerSize_ + stored * stride_,
                  batch_.data() + static_cast<std::size_t>(kBatchRows - count_) * stride_,
                  stride_ * static_cast<std::size_t>(count_));
    count_ = 0;
}

void BmpRowWriter::finish() {
    flush();
}

}  // namespace tavlo::imaging
