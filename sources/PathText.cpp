#include "PathText.h"

#include "Gb18030.h"

namespace tavlo {

std::string pathToText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::filesystem::path textToPath(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

namespace {

bool isGb18030FormOf(const std::string& text, const std::string& bytes) {
    try {
        return utf8ToGb18030(text) == bytes;
    } catch (const TextEncodingError&) {
        return false;
    }
}

// How many of the path's leading parts exist: the whole path scores most.
std::size_t existingDepth(const std::filesystem::path& path) {
    std::error_code ignored;
    std::size_t depth = static_cast<std::size_t>(std::distance(path.begin(), path.end()));
    for (std::filesystem::path part = path; !part.empty(); part = part.parent_path(), --depth) {
        if (std::filesystem::exists(part, ignored)) return depth;
        if (part == part.parent_path()) break;
    }
    return 0;
}

}  // namespace

std::filesystem::path pathFromSettingsLine(const std::string& text, const std::string& bytes,
                                           const std::filesystem::path& folder) {
    const std::filesystem::path asText = textToPath(text);
    // Bytes that are UTF-8 were written as text: names that are not are
    // the only ones stored as they are.
    if (bytes == text || isUtf8(bytes)) return asText;
    std::filesystem::path asBytes;
    try {
        asBytes = textToPath(bytes);
    } catch (const std::exception&) {
        return asText;  // a system whose names are all Unicode has no such name
    }
    if (!isGb18030FormOf(text, bytes)) return asBytes;
    return existingDepth(folder / asBytes) > existingDepth(folder / asText) ? asBytes : asText;
}

}  // namespace tavlo
