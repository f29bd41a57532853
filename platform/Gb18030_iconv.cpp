#include "Gb18030.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace tavlo {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { ::iconv_close(static_cast<iconv_t>(cd)); }
};

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

enum class OnBadInput { Fail, Replace };

// Both encodings are stateless, so no final flush call is needed.
std::string convert(std::string_view input, const char* to, const char* from, const char* what, OnBadInput bad) {
    std::unique_ptr<void, IconvCloser> cd(::iconv_open(to, from));
    if (cd.get() == reinterpret_cast<void*>(-1)) {
        cd.release();
        throw TextEncodingError(std::string("no converter for ") + what);
    }
    std::string output(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    size_t done = 0;
    while (inLeft > 0) {
        char* out = output.data() + done;
        size_t outLeft = output.size() - done;
        const size_t r = ::iconv(static_cast<iconv_t>(cd.get()), &in, &inLeft, &out, &outLeft);
        done = output.size() - outLeft;
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        if (bad == OnBadInput::Fail)
            throw TextEncodingError(std::string(what) + ": invalid byte sequence at offset " +
                                    std::to_string(input.size() - inLeft));
        // An invalid or cut-off sequence: mark it and go on with the next byte.
        if (output.size() - done < kReplacement.size()) output.resize(output.size() * 2);
        output.replace(done, kReplacement.size(), kReplacement);
        done += kReplacement.size();
        ++in;
        --inLeft;
    }
    output.resize(done);
    return output;
}

}  // namespace

std::string gb18030ToUtf8(std::string_view bytes) {
    return convert(bytes, "UTF-8", "GB18030", "GB18030 text", OnBadInput::Replace);
}

std::string utf8ToGb18030(std::string_view text) {
    return convert(text, "GB18030", "UTF-8", "UTF-8 text", OnBadInput::Fail);
}

std::string sanitizeUtf8(std::string_view text) {
    return convert(text, "UTF-8", "UTF-8", "UTF-8 text", OnBadInput::Replace);
}

}  // namespace tavlo
