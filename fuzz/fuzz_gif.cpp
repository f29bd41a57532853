// Any input must either decode or be rejected with ImageError.
#include "GifDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const tavlo::imaging::Bitmap bitmap = tavlo::imaging::decodeGif(bytes);
        if (bitmap.pixels().size() != bitmap.stride() * static_cast<std::size_t>(bitmap.height())) __builtin_trap();
    } catch (const tavlo::imaging::ImageError&) {
    }
    return 0;
}
