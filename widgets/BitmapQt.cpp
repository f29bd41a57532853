#include "BitmapQt.h"

#include "MappedFile.h"
#include "Picture.h"

#include <QBuffer>
#include <QImageReader>

#include <cstring>
#include <new>

namespace tavlo::widgets {

using tavlo::imaging::Bitmap;

QImage toQImage(const Bitmap& bitmap) {
    if (bitmap.empty()) return {};
    const Bitmap bgr = bitmap.bitsPerPixel() == 24 ? Bitmap() : tavlo::imaging::toBgr24(bitmap);
    const Bitmap& source = bitmap.bitsPerPixel() == 24 ? bitmap : bgr;
    QImage image(source.width(), source.height(), QImage::Format_BGR888);
    if (image.isNull()) throw std::bad_alloc();
    const auto rowBytes = static_cast<std::size_t>(source.width()) * 3;
    for (int y = 0; y < source.height(); ++y) {
        std::memcpy(image.scanLine(y), source.row(y), rowBytes);
    }
    return image;
}

namespace {
std::uint8_t overWhite(int channel, int alpha) {
    // Premultiplied channel plus the white showing through.
    return static_cast<std::uint8_t>(channel + (255 - alpha));
}
}  // namespace

Bitmap fromQImage(const QImage& image) {
    if (image.isNull()) return {};
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Bitmap bitmap(argb.width(), argb.height(), 24);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = in[x];
            const int a = qAlpha(p);
            out[3 * x + 0] = overWhite(qBlue(p), a);
            out[3 * x + 1] = overWhite(qGreen(p), a);
            out[3 * x + 2] = overWhite(qRed(p), a);
        }
    }
    return bitmap;
}

imaging::Bitmap readPictureWithQt(const std::filesystem::path& path) {
    // From the file's bytes: a file name that is not UTF-8 has no QString.
    const MappedFile file(path);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.bytes().data()),
                                               static_cast<qsizetype>(file.bytes().size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) throw imaging::ImageError("not a picture Qt reads: " + reader.errorString().toStdString());
    file.checkUnchanged();
    return fromQImage(image);
}

namespace {

// The palette as a colour table of 2^bits entries: indices the palette does
// not cover show black, as they would in the 24-bit copy.
QList<QRgb> colourTable(const Bitmap& bitmap) {
    QList<QRgb> table(qsizetype{1} << bitmap.bitsPerPixel(), qRgb(0, 0, 0));
    for (std::size_t i = 0; i < bitmap.palette.size() && i < static_cast<std::size_t>(table.size()); ++i) {
        const auto& p = bitmap.palette[i];
        table[static_cast<qsizetype>(i)] = qRgb(p.red, p.green, p.blue);
    }
    return table;
}

QImage::Format sharedFormat(const Bitmap& bitmap) {
    using tavlo::imaging::ChannelMasks;
    const ChannelMasks& m = bitmap.masks;
    switch (bitmap.bitsPerPixel()) {
    case 1: return QImage::Format_Mono;
    case 8: return QImage::Format_Indexed8;
    case 24: return QImage::Format_BGR888;
    case 32:
        return m.red == 0xFF0000 && m.green == 0xFF00 && m.blue == 0xFF && m.alpha == 0 ? QImage::Format_RGB32
                                                                                        : QImage::Format_Invalid;
    case 16:
        if (m == ChannelMasks::rgb555()) return QImage::Format_RGB555;
        if (m == ChannelMasks{0xF800, 0x07E0, 0x001F, 0}) return QImage::Format_RGB16;
        return QImage::Format_Invalid;
    default: return QImage::Format_Invalid;
    }
}

}  // namespace

QImage pictureImage(const Bitmap& bitmap) {
    if (bitmap.empty()) return {};
    const QImage::Format format = sharedFormat(bitmap);
    if (format == QImage::Format_Invalid) return toQImage(bitmap);
    QImage image(bitmap.pixels().data(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()),
                 format);
    if (bitmap.isIndexed()) image.setColorTable(colourTable(bitmap));
    return image;
}

}  // namespace tavlo::widgets
