#include "PngDecoder.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

namespace tavlo::imaging {

namespace {

struct Source {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
    std::string error;
};

void onError(png_structp png, png_const_charp message) {
    auto* source = static_cast<Source*>(png_get_error_ptr(png));
    source->error = message;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onRead(png_structp png, png_bytep data, png_size_t length) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->at < length) png_error(png, "file ends early");
    std::memcpy(data, source->bytes.data() + source->at, length);
    source->at += length;
}

std::uint8_t overWhite(std::uint8_t colour, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

void compositePixel(const std::uint8_t* bgra, std::uint8_t* bgr) {
    bgr[0] = overWhite(bgra[0], bgra[3]);
    bgr[1] = overWhite(bgra[1], bgra[3]);
    bgr[2] = overWhite(bgra[2], bgra[3]);
}

// An interlaced picture's rows arrive in seven passes, each row holding every
// so many pixels of a picture row: each pixel is put in its place on the
// canvas as it comes (composited over white when it has alpha), so that no
// second picture is held beside it. Pixels outside the canvas are dropped.
void readInterlaced(png_structp png, png_uint_32 width, png_uint_32 height, bool alpha, std::vector<std::uint8_t>& line,
                    Bitmap& canvas) {
    const std::size_t pixelBytes = alpha ? 4 : 3;
    line.resize(static_cast<std::size_t>(width) * pixelBytes);
    for (int pass = 0; pass < 7; ++pass) {
        const png_uint_32 columns = PNG_PASS_COLS(width, pass), rows = PNG_PASS_ROWS(height, pass);
        if (columns == 0 || rows == 0) continue;  // libpng skips empty passes
        for (png_uint_32 r = 0; r < rows; ++r) {
            png_read_row(png, line.data(), nullptr);
            const png_uint_32 y = PNG_ROW_FROM_PASS_ROW(r, pass);
            if (y >= static_cast<png_uint_32>(canvas.height())) continue;
            std::uint8_t* out = canvas.row(static_cast<int>(y));
            for (png_uint_32 i = 0; i < columns; ++i) {
                const png_uint_32 x = PNG_COL_FROM_PASS_COL(i, pass);
                if (x >= static_cast<png_uint_32>(canvas.width())) break;
                const std::uint8_t* in = line.data() + pixelBytes * i;
                if (alpha) {
                    compositePixel(in, out + 3 * std::size_t{x});
                } else {
                    std::memcpy(out + 3 * std::size_t{x}, in, 3);
                }
            }
        }
    }
}

// Row by row, composited over white where there is alpha; stops below the
// last row wanted.
void readRows(png_structp png, png_uint_32 width, png_uint_32 height, bool alpha, std::vector<std::uint8_t>& line,
              std::vector<std::uint8_t>& bgr, RowSink& sink) {
    line.resize(static_cast<std::size_t>(width) * (alpha ? 4 : 3));
    bgr.resize(static_cast<std::size_t>(width) * 3);
    const png_uint_32 wanted = std::min(height, static_cast<png_uint_32>(sink.rowsWanted()));
    for (png_uint_32 y = 0; y < wanted; ++y) {
        png_read_row(png, alpha ? line.data() : bgr.data(), nullptr);
        if (alpha)
            for (png_uint_32 x = 0; x < width; ++x)
                compositePixel(line.data() + 4 * std::size_t{x}, bgr.data() + 3 * std::size_t{x});
        sink.putRow(static_cast<int>(y), bgr.data());
    }
}

// The buffers the decoder needs, owned by its caller: a libpng error jumps
// past the decoding frames, which must hold nothing to destroy.
struct Buffers {
    std::vector<std::uint8_t> line, bgr;
    Bitmap canvas;
};

// Reads the picture into the sink; may longjmp back here on a libpng error.
// Only plain data lives in this frame.
bool decode(png_structp png, png_infop info, Source& source, RowSink& sink, Buffers& buffers) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &source, onRead);
    // libpng allocates a side chunk's buffer (text, a colour profile, ...)
    // from its stated length before reading it: a 100-byte file stating a
    // 1.7 GB text chunk would cost 1.7 GB. No such chunk changes the pixels
    // as we decode them, save the transparency: skip the others unread.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    static const png_byte kTransparency[] = "tRNS";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kTransparency, 1);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    checkDimensions(width, height, "PNG");  // before anything is allocated for the pixels
    // Deflate expands at most 1032 times: the filtered rows must fit the file.
    const std::uint64_t bitsPerPixel = std::uint64_t{png_get_channels(png, info)} * png_get_bit_depth(png, info);
    const std::uint64_t rowBytes = 1 + (std::uint64_t{width} * bitsPerPixel + 7) / 8;
    if (rowBytes * height / 1032 > source.bytes.size()) png_error(png, "picture cannot come from a file this small");
    const int colorType = png_get_color_type(png, info);
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;

    png_set_expand(png);  // palette to RGB, low gray depths to 8 bits, tRNS to alpha
    png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    // After expansion a palette or key transparency becomes an alpha channel.
    const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * (alpha ? 4 : 3))
        png_error(png, "unexpected row layout");

    sink.start(static_cast<int>(width), static_cast<int>(height));
    if (!interlaced) {
        readRows(png, width, height, alpha, buffers.line, buffers.bgr, sink);
        if (static_cast<png_uint_32>(sink.rowsWanted()) >= height) png_read_end(png, nullptr);
        return true;
    }
    // The last pass completes the rows: they are drawn on a canvas of the
    // wanted part, the sink's own when it keeps the whole picture.
    Bitmap* canvas = sink.wholePicture();
    if (!canvas) {
        buffers.canvas = Bitmap(static_cast<int>(std::min<png_uint_32>(width, sink.columnsWanted())),
                                static_cast<int>(std::min<png_uint_32>(height, sink.rowsWanted())), 24);
        canvas = &buffers.canvas;
    }
    readInterlaced(png, width, height, alpha, buffers.line, *canvas);
    png_read_end(png, nullptr);
    if (canvas == &buffers.canvas)
        for (int y = 0; y < canvas->height(); ++y) sink.putRow(y, canvas->row(y));
    return true;
}

}  // namespace

void decodePng(std::span<const std::uint8_t> bytes, RowSink& sink) {
    Source source;
    source.bytes = bytes;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, onError, onWarning);
    if (!png) throw ImageError("PNG: out of memory", ImageFault::OutOfMemory);
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        throw ImageError("PNG: out of memory", ImageFault::OutOfMemory);
    }
    Buffers buffers;
    bool ok = false;
    try {
        ok = decode(png, info, source, sink, buffers);
    } catch (...) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) throw ImageError("PNG: " + (source.error.empty() ? std::string("cannot be decoded") : source.error));
}

Bitmap decodePng(std::span<const std::uint8_t> bytes) {
    WholePicture sink;
    decodePng(bytes, sink);
    return sink.take();
}

}  // namespace tavlo::imaging
