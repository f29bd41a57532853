#pragma once
#include "Bitmap.h"

#include <climits>
#include <cstdint>
#include <vector>

namespace tavlo {
class AtomicFile;
}

namespace tavlo::imaging {

// Takes a decoded picture as 24-bit blue-green-red rows, so that a decoder
// need not hold the picture whole: start() tells the picture's size, then
// each wanted row arrives once, in any order. A row holds at least the first
// min(width, columnsWanted()) pixels.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void start(int width, int height) = 0;
    virtual void putRow(int y, const std::uint8_t* bgr) = 0;
    // Rows from this one down and columns from this one right are not
    // wanted: a decoder may skip them or stop early. Valid after start().
    virtual int rowsWanted() const { return INT_MAX; }
    virtual int columnsWanted() const { return INT_MAX; }
    // A sink that keeps the whole picture lends its bitmap (of the size
    // start() told), so that a decoder that must draw the picture whole (an
    // interlaced PNG) draws it there; such a decoder then hands no rows.
    virtual Bitmap* wholePicture() { return nullptr; }
};

// Keeps the whole picture.
class WholePicture : public RowSink {
public:
    void start(int width, int height) override { bitmap_ = Bitmap(width, height, 24); }
    void putRow(int y, const std::uint8_t* bgr) override;
    Bitmap* wholePicture() override { return &bitmap_; }
    Bitmap take() { return std::move(bitmap_); }

private:
    Bitmap bitmap_;
};

// Keeps the top-left part of at most maxWidth × maxHeight pixels: the whole
// picture when it fits.
class TopLeftPart : public RowSink {
public:
    TopLeftPart(int maxWidth, int maxHeight) : maxWidth_(maxWidth), maxHeight_(maxHeight) {}
    void start(int width, int height) override;
    void putRow(int y, const std::uint8_t* bgr) override;
    int rowsWanted() const override { return part_.height(); }
    int columnsWanted() const override { return part_.width(); }
    Bitmap* wholePicture() override { return isWhole() ? &part_ : nullptr; }

    int pictureWidth() const { return width_; }
    int pictureHeight() const { return height_; }
    bool isWhole() const { return part_.width() == width_ && part_.height() == height_; }
    Bitmap take() { return std::move(part_); }

private:
    int maxWidth_, maxHeight_;
    int width_ = 0, height_ = 0;
    Bitmap part_;
};

// Hands every row to two sinks; wants what either wants.
class BothSinks : public RowSink {
public:
    BothSinks(RowSink& first, RowSink& second) : first_(first), second_(second) {}
    void start(int width, int height) override;
    void putRow(int y, const std::uint8_t* bgr) override;
    int rowsWanted() const override;
    int columnsWanted() const override;

private:
    RowSink& first_;
    RowSink& second_;
};

// Writes the rows as a 24-bit BMP file, each at its place in the file (BMP
// stores rows bottom-up); rows that follow each other go out together.
// finish() writes what is left; committing the file is the caller's.
class BmpRowWriter : public RowSink {
public:
    explicit BmpRowWriter(AtomicFile& file) : file_(file) {}
    void start(int width, int height) override;
    void putRow(int y, const std::uint8_t* bgr) override;
    void finish();

private:
    static constexpr int kBatchRows = 32;
    void flush();

    AtomicFile& file_;
    int width_ = 0, height_ = 0;
    std::size_t headerSize_ = 0, stride_ = 0;
    std::vector<std::uint8_t> batch_;  // file order: the batch's last row first
    int first_ = 0, count_ = 0;        // picture rows first_ .. first_ + count_ - 1
};

}  // namespace tavlo::imaging
