#include "JpegToBmp.h"

#include "AtomicFile.h"
#include "JpegDecoder.h"
#include "MappedFile.h"
#include "RowSink.h"

namespace tavlo::imaging {

namespace {

void convert(std::span<const std::uint8_t> jpeg, const std::filesystem::path& target, const MappedFile* source) {
    AtomicFile file(target, AtomicFile::Sync::Fast);
    BmpRowWriter writer(file);
    decodeJpeg(jpeg, writer);
    writer.finish();
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
