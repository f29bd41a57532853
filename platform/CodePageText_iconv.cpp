#include "CodePageText.h"

#include <iconv.h>
#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

namespace tavlo {

namespace {

std::string iconvName(int codePage) {
    switch (codePage) {
    case 936:
    case kCodePageGb18030: return "GB18030";
    case 10000: return "MACINTOSH";
    case 20936: return "GB2312";
    case kCodePageUtf8: return "UTF-8";
    default: return "CP" + std::to_string(codePage);
    }
}

// Touching hundreds of megabytes of fresh memory page by page costs more
// than converting the text into it: a large buffer asks for huge pages.
void preferHugePages([[maybe_unused]] void* start, [[maybe_unused]] std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHuge = 2 * 1024 * 1024;
    const auto first = (reinterpret_cast<std::uintptr_t>(start) + kHuge - 1) & ~(kHuge - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(start) + size) & ~(kHuge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    void reset() { ::iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much of `in` as it can into `out` from `used` on (`out`
    // grows as needed, doubling, so that no byte is copied or cleared more
    // than a few times in all); false at a byte sequence it cannot convert
    // (`in` then starts there).
    template <typename Out>
    bool run(std::string_view& in, Out& out, std::size_t& used) {
        constexpr std::size_t unit = sizeof(typename Out::value_type);
        while (!in.empty()) {
            if (out.size() - used < 8) out.resize(out.size() * 2 + 64);
            char* inPtr = const_cast<char*>(in.data());
            std::size_t inLeft = in.size();
            char* outPtr = reinterpret_cast<char*>(out.data() + used);
            const std::size_t outBytes = (out.size() - used) * unit;
            std::size_t outLeft = outBytes;
            const std::size_t r = ::iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            in.remove_prefix(in.size() - inLeft);
            used += (outBytes - outLeft) / unit;
            if (r == static_cast<std::size_t>(-1) && error != E2BIG) return false;
            if (r == static_cast<std::size_t>(-1)) out.resize(out.size() * 2 + 64);
        }
        return true;
    }

private:
    iconv_t cd_;
};

// A note switches code pages with every font and decodes run by run; opening
// a converter costs more than converting a run, so each thread keeps its own.
// Code pages come from the files read, so the cache is kept small.
Converter& converter(int codePage, bool encode) {
    thread_local std::map<std::pair<int, bool>, std::unique_ptr<Converter>> converters;
    auto found = converters.find({codePage, encode});
    if (found != converters.end()) return *found->second;
    if (converters.size() >= 16) converters.clear();
    const std::string name = iconvName(codePage);
    auto made = encode ? std::make_unique<Converter>(name.c_str(), "UTF-16LE")
                       : std::make_unique<Converter>("UTF-16LE", name.c_str());
    return *converters.emplace(std::pair(codePage, encode), std::move(made)).first->second;
}

}  // namespace

std::optional<std::u16string> decodeCodePage(int codePage, std::string_view bytes) {
    Converter& decoder = converter(codePage, false);
    if (!decoder.valid()) return std::nullopt;
    decoder.reset();
    // No code page this program meets gives more than one UTF-16 unit per
    // byte; a rare one that does makes the text grow.
    std::u16string text;
    text.reserve(bytes.size());
    preferHugePages(text.data(), text.capacity() * sizeof(char16_t));
    text.resize(bytes.size());
    std::size_t used = 0;
    // UTF-16LE from iconv; the machines we build for are little-endian.
    while (!decoder.run(bytes, text, used)) {
        // A bad or cut-off sequence: mark it and go on with the next byte.
        if (used == text.size()) text.resize(text.size() * 2 + 64);
        text[used++] = singleByteFallback(codePage, bytes.front());
        bytes.remove_prefix(1);
    }
    text.resize(used);
    return text;
}

std::optional<std::string> encodeCodePage(int codePage, std::u16string_view text) {
    Converter& encoder = converter(codePage, true);
    if (!encoder.valid()) return std::nullopt;
    encoder.reset();
    std::string_view in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::string bytes(in.size(), '\0');
    std::size_t used = 0;
    if (!encoder.run(in, bytes, used)) return std::nullopt;
    bytes.resize(used);
    return bytes;
}

}  // namespace tavlo
