// tavlo-compose BACKGROUND CONTENT OUT: the composition of the apply command.
// The content (any supported picture) is pasted at (background width -
// content width - 52, 4); OUT keeps the background's size and pixel format.
#include "Composition.h"
#include "Picture.h"

#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: tavlo-compose BACKGROUND CONTENT OUT\n", stderr);
        return 1;
    }
    try {
        using namespace tavlo;
        const Background background = Background::load(argv[1]);
        const imaging::Bitmap content = imaging::loadPicture(argv[2]);
        background.composeInto(content, Placement::onBackground(background.width(), content.width()), argv[3]);
        return 0;
    } catch (const tavlo::imaging::ImageError& error) {
        // The user's words; the decoder's own account is for developers.
        std::fprintf(stderr, "tavlo-compose: %s\n", error.cause().c_str());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavlo-compose: %s\n", error.what());
        return 1;
    }
}
