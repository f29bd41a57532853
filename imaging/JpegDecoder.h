#pragma once
#include "Bitmap.h"
#include "RowSink.h"

#include <cstdint>
#include <memory>
#include <span>

namespace tavlo::imaging {

// Decodes a JPEG top to bottom as 24-bit blue-green-red rows. Gray, YCbCr,
// RGB and CMYK/YCCK pictures (Adobe-inverted or not) are accepted; errors
// throw ImageError naming what is wrong.
class JpegReader {
public:
    explicit JpegReader(std::span<const std::uint8_t> bytes);  // reads the headers
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    int width() const;
    int height() const;
    // Decodes the next rows into `rows` (each at least width × 3 bytes); returns
    // how many were decoded: rows.size(), fewer only at the end of the picture.
    int readRows(std::span<std::uint8_t* const> rows);

private:
    struct State;
    std::unique_ptr<State> state_;
};

Bitmap decodeJpeg(std::span<const std::uint8_t> bytes);
// The rows to a sink; the rows below the wanted ones are not decoded.
void decodeJpeg(std::span<const std::uint8_t> bytes, RowSink& sink);

}  // namespace tavlo::imaging
