#include "CodePageText.h"

#include <iconv.h>

#include <cerrno>
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

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Converts all of `in`; false at the first byte sequence it cannot take
    // (`in` then starts there).
    bool run(const char*& in, std::size_t& inLeft, std::string& out) {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        while (inLeft > 0) {
            const std::size_t done = out.size();
            out.resize(done + inLeft * 4 + 16);
            char* outPtr = out.data() + done;
            std::size_t outLeft = out.size() - done;
            const std::size_t r = ::iconv(cd_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
            out.resize(out.size() - outLeft);
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
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

void appendUtf16(std::u16string& text, const std::string& utf16) {
    // UTF-16LE from iconv; the machines we build for are little-endian.
    text.append(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size() / 2);
}

}  // namespace

std::optional<std::u16string> decodeCodePage(int codePage, std::string_view bytes) {
    Converter& decoder = converter(codePage, false);
    if (!decoder.valid()) return std::nullopt;
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    std::string utf16;
    std::u16string text;
    while (!decoder.run(in, inLeft, utf16)) {
        // A bad or cut-off sequence: mark it and go on with the next byte.
        appendUtf16(text, utf16);
        text += u'\uFFFD';
        utf16.clear();
        ++in;
        --inLeft;
    }
    appendUtf16(text, utf16);
    return text;
}

std::optional<std::string> encodeCodePage(int codePage, std::u16string_view text) {
    Converter& encoder = converter(codePage, true);
    if (!encoder.valid()) return std::nullopt;
    const char* in = reinterpret_cast<const char*>(text.data());
    std::size_t inLeft = text.size() * 2;
    std::string bytes;
    if (!encoder.run(in, inLeft, bytes)) return std::nullopt;
    return bytes;
}

}  // namespace tavlo
