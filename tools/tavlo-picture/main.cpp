// tavlo-picture convert IN OUT: decodes IN (BMP, JPEG, PNG or GIF, told apart
// by content) and writes OUT as a 24-bit BMP.
#include "AtomicFile.h"
#include "MappedFile.h"
#include "Picture.h"

#include <cstdio>
#include <exception>
#include <string_view>

namespace {

int usage() {
    std::fputs("usage: tavlo-picture convert IN OUT\n", stderr);
    return 1;
}

// Every format streams row by row into the BMP, so a small file describing a
// huge picture never has the picture held whole (an interlaced PNG excepted).
void convert(const char* in, const char* out) {
    using namespace tavlo;
    const MappedFile file(in);
    AtomicFile bmp(out, AtomicFile::Sync::Fast);
    imaging::writePictureAsBmp(file, bmp);
    bmp.commit();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4 || std::string_view(argv[1]) != "convert") return usage();
    try {
        convert(argv[2], argv[3]);
        return 0;
    } catch (const tavlo::imaging::ImageError& error) {
        // The user's words; the decoder's own account is for developers.
        std::fprintf(stderr, "tavlo-picture: %s\n", error.cause().c_str());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavlo-picture: %s\n", error.what());
        return 1;
    }
}
