#include "TextColumns.h"

namespace tavlo::cal {

int displayWidth(std::string_view text) {
    int width = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            width += 1;
        else if (byte >= 0xC0)
            width += 2;  // a lead byte: every non-ASCII text here is wide
    }
    return width;
}

std::string padRight(std::string_view text, int width) {
    const int fill = width - displayWidth(text);
    return std::string(text) + std::string(fill > 0 ? fill : 0, ' ');
}

std::string padLeft(std::string_view text, int width) {
    const int fill = width - displayWidth(text);
    return std::string(fill > 0 ? fill : 0, ' ') + std::string(text);
}

std::string centred(std::string_view text, int width) {
    const int fill = width - displayWidth(text);
    return padRight(std::string(fill > 0 ? fill / 2 : 0, ' ') + std::string(text), width);
}

}  // namespace tavlo::cal
