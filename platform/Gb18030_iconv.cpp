#include "Gb18030.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace tavlo {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { ::iconv_close(static_cast<iconv_t>(cd)); }
};

std::string convert(std::string_view input, const char* to, const char* from, const char* what) {
    std::unique_ptr<void, IconvCloser> cd(::iconv_open(to, from));
    if (cd.get() == reinterpret_cast<void*>(-1)) {
        cd.release();
        throw TextEncodingError(std::string("no converter for ") + what);
    }
    std::string output(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    size_t done = 0;
    for (;;) {
        char* out = output.data() + done;
        size_t outLeft = output.size() - done;
        // A final call with no input flushes any pending shift state.
        const size_t r = ::iconv(static_cast<iconv_t>(cd.get()), inLeft ? &in : nullptr, &inLeft, &out, &outLeft);
        done = output.size() - outLeft;
        if (r != static_cast<size_t>(-1)) {
            if (inLeft == 0) break;
            continue;
        }
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        const size_t at = input.size() - inLeft;
        throw TextEncodingError(std::string(what) + ": invalid byte sequence at offset " + std::to_string(at));
    }
    output.resize(done);
    return output;
}

}  // namespace

std::string gb18030ToUtf8(std::string_view bytes) { return convert(bytes, "UTF-8", "GB18030", "GB18030 text"); }

std::string utf8ToGb18030(std::string_view text) { return convert(text, "GB18030", "UTF-8", "UTF-8 text"); }

void checkUtf8(std::string_view text) { convert(text, "UTF-8", "UTF-8", "UTF-8 text"); }

}  // namespace tavlo
