#include "PictureEncoders.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace tavlo::test {

Bytes encodeJpeg(const imaging::Bitmap& picture, int quality, bool progressive, JpegColours colours) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // fixtures are well-formed; libjpeg's default exit is fine here
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    const bool cmyk = colours == JpegColours::Cmyk || colours == JpegColours::AdobeCmyk;
    info.input_components = colours == JpegColours::Gray ? 1 : cmyk ? 4 : 3;
    info.in_color_space = colours == JpegColours::Gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    if (cmyk) {
        jpeg_set_colorspace(&info, JCS_CMYK);
        info.write_Adobe_marker = colours == JpegColours::AdobeCmyk;
    }
    jpeg_set_quality(&info, quality, TRUE);
    if (quality >= 95) {  // full chroma resolution, so that tests can compare pixels closely
        for (int i = 0; i < info.num_components; ++i)
            info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
    }
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width()) * 4);
    while (info.next_scanline < info.image_height) {
        const std::uint8_t* bgr = picture.row(static_cast<int>(info.next_scanline));
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint8_t b = bgr[3 * x], g = bgr[3 * x + 1], r = bgr[3 * x + 2];
            if (colours == JpegColours::Gray) {
                row[static_cast<std::size_t>(x)] = g;
            } else if (cmyk) {
                // No black ink; C, M, Y the complements. Adobe files store them inverted.
                const std::uint8_t c = 255 - r, m = 255 - g, y = 255 - b, k = 0;
                const bool inv = colours == JpegColours::AdobeCmyk;
                row[4 * x] = inv ? 255 - c : c;
                row[4 * x + 1] = inv ? 255 - m : m;
                row[4 * x + 2] = inv ? 255 - y : y;
                row[4 * x + 3] = inv ? 255 - k : k;
            } else {
                std::memcpy(&row[3 * x], bgr + 3 * x, 3);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes result(buffer, buffer + size);
    std::free(buffer);
    return result;
}

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

}  // namespace

Bytes encodePng(const PngPicture& picture) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG fixture could not be encoded");
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 picture.bitDepth, picture.colourType, picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < picture.paletteRgb.size(); i += 3)
        palette.push_back({picture.paletteRgb[i], picture.paletteRgb[i + 1], picture.paletteRgb[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 key{};
    if (!picture.transparency.empty()) {
        if (picture.colourType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, picture.transparency.data(), static_cast<int>(picture.transparency.size()),
                         nullptr);
        } else {
            const auto& t = picture.transparency;
            const auto word = [&](std::size_t i) { return static_cast<png_uint_16>(t[i] << 8 | t[i + 1]); };
            if (t.size() == 2)
                key.gray = word(0);
            else {
                key.red = word(0);
                key.green = word(2);
                key.blue = word(4);
            }
            png_set_tRNS(png, info, nullptr, 0, &key);
        }
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& row : picture.rows) rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

namespace {

int appendGif(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

ColorMapObject* makeColourMap(const std::vector<std::uint8_t>& rgb) {
    int count = 2;
    const int entries = static_cast<int>(rgb.size() / 3);
    while (count < entries) count *= 2;
    ColorMapObject* map = GifMakeMapObject(count, nullptr);
    for (int i = 0; i < entries; ++i) map->Colors[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
    return map;
}

}  // namespace

Bytes encodeGif(int screenWidth, int screenHeight, const std::vector<std::uint8_t>& globalColoursRgb,
                const std::vector<GifFrame>& frames) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGif, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = globalColoursRgb.empty() ? nullptr : makeColourMap(globalColoursRgb);
    EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, global);
    for (const GifFrame& frame : frames) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = frame.transparentIndex < 0 ? NO_TRANSPARENT_COLOR : frame.transparentIndex;
        GifByteType block[4];
        const size_t n = EGifGCBToExtension(&control, block);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), block);
        ColorMapObject* local = frame.localColoursRgb.empty() ? nullptr : makeColourMap(frame.localColoursRgb);
        EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, local);
        // EGifPutLine takes rows in stored order: the interlace passes when interlaced.
        std::vector<int> order;
        if (frame.interlaced) {
            constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = start[pass]; y < frame.height; y += step[pass]) order.push_back(y);
        } else {
            for (int y = 0; y < frame.height; ++y) order.push_back(y);
        }
        for (const int y : order) {
            auto* line = const_cast<GifPixelType*>(frame.indices.data() + static_cast<std::size_t>(y) * frame.width);
            EGifPutLine(gif, line, frame.width);
        }
        if (local) GifFreeMapObject(local);
    }
    EGifCloseFile(gif, &error);
    if (global) GifFreeMapObject(global);
    return out;
}

imaging::Bitmap topLeftOf(const imaging::Bitmap& whole, int width, int height) {
    imaging::Bitmap part(width, height, 24);
    for (int y = 0; y < height; ++y) std::memcpy(part.row(y), whole.row(y), static_cast<std::size_t>(width) * 3);
    return part;
}

imaging::Bitmap gradientPicture(int width, int height, int seed) {
    imaging::Bitmap picture(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>((x * 255) / std::max(1, width - 1));
            row[3 * x + 1] = static_cast<std::uint8_t>((y * 255) / std::max(1, height - 1));
            row[3 * x + 2] = static_cast<std::uint8_t>(((x / 16 + y / 16 + seed) % 2) * 160 + (x ^ y) % 64);
        }
    }
    return picture;
}

}  // namespace tavlo::test
