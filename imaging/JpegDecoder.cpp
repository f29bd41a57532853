#include "JpegDecoder.h"

#include <algorithm>
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

}  // namespace

// Every method that calls into libjpeg sets the jump point first; libjpeg
// errors come back there and leave as ImageError. No object with a
// destructor lives in those frames.
struct JpegReader::State {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    jpeg_progress_mgr progress{};
    bool cmyk = false;
    std::vector<std::uint8_t> cmykRow;

    State() {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = onError;
        errors.base.emit_message = onMessage;
        jpeg_create_decompress(&info);  // cannot fail: it only sets up the memory pools
    }
    ~State() { jpeg_destroy_decompress(&info); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    [[noreturn]] void fail() { throw ImageError(std::string("JPEG: ") + errors.message); }
};

JpegReader::JpegReader(std::span<const std::uint8_t> bytes) : state_(std::make_unique<State>()) {
    State& s = *state_;
    if (setjmp(s.errors.jump)) s.fail();
    s.info.mem->max_memory_to_use = 1536L * 1024 * 1024;
    s.progress.progress_monitor = onProgress;
    s.info.progress = &s.progress;
    jpeg_mem_src(&s.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&s.info, TRUE);
    checkDimensions(s.info.image_width, s.info.image_height, "JPEG");
    // Huffman-coded data spends at least one bit on every 8 × 8 block, so
    // a file holds at most 512 pixels a byte; arithmetic coding can do better.
    if (!s.info.arith_code) checkFitsFile(s.info.image_width, s.info.image_height, bytes.size(), 1024, "JPEG");
    s.cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
    s.info.out_color_space = s.cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&s.info);
    if (s.cmyk) s.cmykRow.resize(static_cast<std::size_t>(s.info.output_width) * 4);
}

JpegReader::~JpegReader() = default;

int JpegReader::width() const {
    return static_cast<int>(state_->info.output_width);
}
int JpegReader::height() const {
    return static_cast<int>(state_->info.output_height);
}

int JpegReader::readRows(std::span<std::uint8_t* const> rows) {
    State& s = *state_;
    if (setjmp(s.errors.jump)) s.fail();
    std::size_t done = 0;
    while (done < rows.size() && s.info.output_scanline < s.info.output_height) {
        if (s.cmyk) {
            JSAMPROW target = s.cmykRow.data();
            jpeg_read_scanlines(&s.info, &target, 1);
            cmykToBgr(s.cmykRow.data(), rows[done], width(), s.info.saw_Adobe_marker);
            ++done;
        } else {
            done += jpeg_read_scanlines(&s.info, const_cast<JSAMPARRAY>(rows.data() + done),
                                        static_cast<JDIMENSION>(rows.size() - done));
        }
    }
    return static_cast<int>(done);
}

void decodeJpeg(std::span<const std::uint8_t> bytes, RowSink& sink) {
    JpegReader reader(bytes);
    sink.start(reader.width(), reader.height());
    if (Bitmap* whole = sink.wholePicture()) {
        std::vector<std::uint8_t*> rows(static_cast<std::size_t>(whole->height()));
        for (int y = 0; y < whole->height(); ++y) rows[static_cast<std::size_t>(y)] = whole->row(y);
        reader.readRows(rows);
        return;
    }
    // A few rows at a time; the rows below the wanted ones are never decoded.
    constexpr int kBatchRows = 16;
    const std::size_t rowBytes = static_cast<std::size_t>(reader.width()) * 3;
    std::vector<std::uint8_t> batch(rowBytes * kBatchRows);
    std::vector<std::uint8_t*> rows(kBatchRows);
    for (int i = 0; i < kBatchRows; ++i) rows[static_cast<std::size_t>(i)] = batch.data() + rowBytes * i;
    const int wanted = std::min(reader.height(), sink.rowsWanted());
    for (int top = 0; top < wanted;) {
        const int count =
            reader.readRows(std::span(rows.data(), static_cast<std::size_t>(std::min(kBatchRows, wanted - top))));
        if (count == 0) break;
        for (int i = 0; i < count; ++i) sink.putRow(top + i, rows[static_cast<std::size_t>(i)]);
        top += count;
    }
}

Bitmap decodeJpeg(std::span<const std::uint8_t> bytes) {
    WholePicture sink;
    decodeJpeg(bytes, sink);
    return sink.take();
}

}  // namespace tavlo::imaging
