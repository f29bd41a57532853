#include "GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace tavlo::imaging {

namespace {

struct Source {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

int onRead(GifFileType* gif, GifByteType* data, int length) {
    auto* source = static_cast<Source*>(gif->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(length), source->bytes.size() - source->at);
    std::memcpy(data, source->bytes.data() + source->at, n);
    source->at += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void fail(const std::string& what) {
    throw ImageError("GIF: " + what);
}

[[noreturn]] void failWith(int code) {
    const char* text = GifErrorString(code);
    fail(text ? text : "cannot be decoded");
}

struct FrameControl {
    int transparentIndex = -1;
};

FrameControl readExtension(GifFileType* gif, FrameControl control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) failWith(gif->Error);
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
        control.transparentIndex = (block[1] & 1) ? block[4] : -1;
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) failWith(gif->Error);
    }
    return control;
}

// The rows of an interlaced frame arrive in four passes.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
    return order;
}

// One canvas row: white, with the frame's line drawn over it (transparent
// pixels left white).
void drawLine(const GifImageDesc& frame, const ColorMapObject& colours, const FrameControl& control,
              const std::vector<GifPixelType>& line, std::vector<std::uint8_t>& row) {
    std::fill(row.begin(), row.end(), std::uint8_t{255});
    const int canvasWidth = static_cast<int>(row.size() / 3);
    for (int x = 0; x < frame.Width; ++x) {
        const int cx = frame.Left + x;
        const int index = line[static_cast<std::size_t>(x)];
        if (cx >= canvasWidth || index == control.transparentIndex) continue;
        std::uint8_t* out = row.data() + 3 * static_cast<std::size_t>(cx);
        if (index >= colours.ColorCount) {
            std::memset(out, 0, 3);  // outside the table: black
            continue;
        }
        const GifColorType& c = colours.Colors[index];
        out[0] = c.Blue;
        out[1] = c.Green;
        out[2] = c.Red;
    }
}

// Hands the canvas rows to the sink: those the frame leaves white first,
// then the frame's own as they are decoded (interlaced ones out of order).
void drawFrame(GifFileType* gif, const FrameControl& control, int width, int height, RowSink& sink) {
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!colours) fail("frame without a colour table");
    if (frame.Width <= 0 || frame.Height <= 0) fail("empty frame");
    checkDimensions(frame.Width, frame.Height, "GIF frame");
    const int wanted = std::min(height, sink.rowsWanted());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3, 255);
    for (int y = 0; y < wanted; ++y)
        if (y < frame.Top || y >= frame.Top + frame.Height) sink.putRow(y, row.data());
    // Every wanted frame row once; a plain frame stops below the last one.
    int missing = std::max(0, std::min(wanted, frame.Top + frame.Height) - frame.Top);
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    for (const int y : rowOrder(frame.Height, frame.Interlace)) {
        if (missing == 0) return;
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) failWith(gif->Error);
        const int cy = frame.Top + y;
        if (cy >= wanted) continue;
        drawLine(frame, *colours, control, line, row);
        sink.putRow(cy, row.data());
        --missing;
    }
}

}  // namespace

void decodeGif(std::span<const std::uint8_t> bytes, RowSink& sink) {
    Source source{bytes};
    int error = 0;
    GifHandle gif(DGifOpen(&source, onRead, &error));
    if (!gif) failWith(error);

    FrameControl control;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) failWith(gif->Error);
        switch (record) {
        case EXTENSION_RECORD_TYPE: control = readExtension(gif.get(), control); break;
        case IMAGE_DESC_RECORD_TYPE: {
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR) failWith(gif->Error);
            const GifImageDesc& frame = gif->Image;
            // A logical screen of zero size (some writers) takes the frame's extent.
            const int width = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
            const int height = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
            // An LZW code of at least 9 bits stands for at most 4096 pixels;
            // the canvas is held to the same measure.
            checkFitsFile(frame.Width, frame.Height, bytes.size(), 4096, "GIF");
            checkFitsFile(width, height, bytes.size(), 4096, "GIF");
            checkDimensions(width, height, "GIF");
            sink.start(width, height);
            drawFrame(gif.get(), control, width, height, sink);
            return;
        }
        case TERMINATE_RECORD_TYPE: fail("no picture in the file");
        default: fail("unknown record in the file");
        }
    }
}

Bitmap decodeGif(std::span<const std::uint8_t> bytes) {
    WholePicture sink;
    decodeGif(bytes, sink);
    return sink.take();
}

}  // namespace tavlo::imaging
