#include "JpegToBmp.h"

#include "AtomicFile.h"
#include "JpegDecoder.h"
#include "RowSink.h"

namespace tavlo::imaging {

void writeJpegAsBmp(std::span<const std::uint8_t> jpeg, const std::filesystem::path& target) {
    AtomicFile file(target, AtomicFile::Sync::Fast);
    BmpRowWriter writer(file);
    decodeJpeg(jpeg, writer);
    writer.finish();
    file.commit();
}

}  // namespace tavlo::imaging
