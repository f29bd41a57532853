#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace tavlo::imaging {

namespace {

// More scans than any real progressive picture has; a hostile file could
// otherwise make the decoder rework the whole picture for every tiny scan.
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr base{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

void onError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr, int) {}  // warnings (a truncated file, say) are not fatal

void onProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(errors->message, sizeof errors->message, "more than %d progressive scans", kMaxScans);
        std::longjmp(errors->jump, 1);
    }
}

void cmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool adobeInverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        // Adobe writes CMYK inverted: the decoded values already are 255 - ink.
        const int c = adobeInverted ? cmyk[0] : 255 - cmyk[0];
        const int m = adobeInverted ? cmyk[1] : 255 - cmyk[1];
        const int y = adobeInverted ? cmyk[2] : 255 - cmyk[2];
        const int k = adobeInverted ? cmyk[3] : 255 - cmyk[3];
        bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
}

// The part of the decode that may longjmp: no object with a destructor lives
// in this frame, apart from those owned by the caller.
bool decode(jpeg_decompress_struct& info, ErrorManager& errors, std::span<const std::uint8_t> bytes,
            const std::function<void(int, int)>& begin, const std::function<void(int, const std::uint8_t*)>& row,
            std::vector<std::uint8_t>& scratch, std::vector<std::uint8_t>& out, std::string& failure) {
    if (setjmp(errors.jump)) {
        failure = errors.message;
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = 1536L * 1024 * 1024;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = onProgress;
    info.progress = &progress;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    try {
        checkDimensions(info.image_width, info.image_height, "JPEG");
    } catch (const ImageError& e) {
        failure = e.what();
        return false;
    }
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    begin(width, height);
    out.resize(static_cast<std::size_t>(width) * 3);
    scratch.resize(static_cast<std::size_t>(width) * 4);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW target = cmyk ? scratch.data() : out.data();
        jpeg_read_scanlines(&info, &target, 1);
        if (cmyk) cmykToBgr(scratch.data(), out.data(), width, info.saw_Adobe_marker);
        row(y, out.data());
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

void decodeJpegRows(std::span<const std::uint8_t> bytes, const std::function<void(int, int)>& begin,
                    const std::function<void(int, const std::uint8_t*)>& row) {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    std::vector<std::uint8_t> scratch, out;
    std::string failure;
    // Exceptions from the callbacks pass through decode(): clean up, rethrow.
    bool ok = false;
    try {
        ok = decode(info, errors, bytes, begin, row, scratch, out, failure);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    jpeg_destroy_decompress(&info);
    if (!ok) throw ImageError("JPEG: " + failure);
}

Bitmap decodeJpeg(std::span<const std::uint8_t> bytes) {
    Bitmap bitmap;
    decodeJpegRows(
        bytes, [&](int width, int height) { bitmap = Bitmap(width, height, 24); },
        [&](int y, const std::uint8_t* bgr) {
            std::memcpy(bitmap.row(y), bgr, static_cast<std::size_t>(bitmap.width()) * 3);
        });
    return bitmap;
}

}  // namespace tavlo::imaging
