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

// The code pages this program converts, by the names iconv knows them by.
// Only these are ever opened: opening a converter costs far more than a
// short conversion, and a document may name any number.
const char* iconvName(int codePage) {
    switch (codePage) {
    case 936:
    case kCodePageGb18030: return "GB18030";
    case 10000: return "MACINTOSH";
    case 10007: return "MAC-CYRILLIC";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 20936: return "GB2312";
    case 21866: return "KOI8-U";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28593: return "ISO-8859-3";
    case 28594: return "ISO-8859-4";
    case 28595: return "ISO-8859-5";
    case 28596: return "ISO-8859-6";
    case 28597: return "ISO-8859-7";
    case 28598: return "ISO-8859-8";
    case 28599: return "ISO-8859-9";
    case 28603: return "ISO-8859-13";
    case 28605: return "ISO-8859-15";
    case 50220: return "ISO-2022-JP";
    case 51932: return "EUC-JP";
    case 51936: return "EUC-CN";
    case 51949: return "EUC-KR";
    case 65000: return "UTF-7";
    case kCodePageUtf8: return "UTF-8";
    case 437: return "CP437";
    case 500: return "CP500";
    case 737: return "CP737";
    case 775: return "CP775";
    case 850: return "CP850";
    case 852: return "CP852";
    case 855: return "CP855";
    case 857: return "CP857";
    case 858: return "CP858";
    case 860: return "CP860";
    case 861: return "CP861";
    case 862: return "CP862";
    case 863: return "CP863";
    case 864: return "CP864";
    case 865: return "CP865";
    case 866: return "CP866";
    case 869: return "CP869";
    case 870: return "CP870";
    case 874: return "CP874";
    case 875: return "CP875";
    case 932: return "CP932";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1026: return "CP1026";
    case 1047: return "CP1047";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 1361: return "CP1361";
    default: return nullptr;
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

// A note switches code pages with every font and decodes run by run, so
// each thread keeps the converters it has opened. They are never dropped:
// only the code pages named above are opened, so there are few of them,
// and a document cycling through more fonts than a cache would hold must
// not open a converter per run.
Converter* converter(int codePage, bool encode) {
    thread_local std::map<std::pair<int, bool>, std::unique_ptr<Converter>> converters;
    auto found = converters.find({codePage, encode});
    if (found != converters.end()) return found->second.get();
    const char* name = iconvName(codePage);
    if (!name) return nullptr;
    auto made = encode ? std::make_unique<Converter>(name, "UTF-16LE") : std::make_unique<Converter>("UTF-16LE", name);
    return converters.emplace(std::pair(codePage, encode), std::move(made)).first->second.get();
}

}  // namespace

std::optional<std::u16string> decodeCodePage(int codePage, std::string_view bytes) {
    Converter* decoder = converter(codePage, false);
    if (!decoder || !decoder->valid()) return std::nullopt;
    decoder->reset();
    // No code page this program meets gives more than one UTF-16 unit per
    // byte; a rare one that does makes the text grow.
    std::u16string text;
    text.reserve(bytes.size());
    preferHugePages(text.data(), text.capacity() * sizeof(char16_t));
    text.resize(bytes.size());
    std::size_t used = 0;
    // UTF-16LE from iconv; the machines we build for are little-endian.
    while (!decoder->run(bytes, text, used)) {
        // A bad or cut-off sequence: mark it and go on with the next byte.
        if (used == text.size()) text.resize(text.size() * 2 + 64);
        text[used++] = singleByteFallback(codePage, bytes.front());
        bytes.remove_prefix(1);
    }
    text.resize(used);
    return text;
}

std::optional<std::string> encodeCodePage(int codePage, std::u16string_view text) {
    Converter* encoder = converter(codePage, true);
    if (!encoder || !encoder->valid()) return std::nullopt;
    encoder->reset();
    std::string_view in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::string bytes(in.size(), '\0');
    std::size_t used = 0;
    if (!encoder->run(in, bytes, used)) return std::nullopt;
    bytes.resize(used);
    return bytes;
}

}  // namespace tavlo
