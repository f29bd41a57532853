// Any input must either decode or be rejected with ImageError. Built once per
// decoder: TAVLO_FUZZ_DECODE names the decoding call, TAVLO_FUZZ_HEADER its header.
#include TAVLO_FUZZ_HEADER

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const tavlo::imaging::Bitmap bitmap = tavlo::imaging::TAVLO_FUZZ_DECODE(bytes);
        if (bitmap.pixels().size() != bitmap.stride() * static_cast<std::size_t>(bitmap.height())) __builtin_trap();
    } catch (const tavlo::imaging::ImageError&) {}
    return 0;
}
