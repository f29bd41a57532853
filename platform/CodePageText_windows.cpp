#include "CodePageText.h"

#include <windows.h>

namespace tavlo {

namespace {

UINT windowsCodePage(int codePage) {
    return codePage == 936 ? static_cast<UINT>(kCodePageGb18030) : static_cast<UINT>(codePage);
}

// Converts all of `bytes` strictly; nothing when a sequence is not valid.
// Some code pages refuse the strict flag (and have no invalid bytes).
std::optional<std::u16string> decodeStrict(UINT cp, const char* bytes, int size) {
    DWORD flags = MB_ERR_INVALID_CHARS;
    int n = MultiByteToWideChar(cp, flags, bytes, size, nullptr, 0);
    if (n <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        n = MultiByteToWideChar(cp, flags, bytes, size, nullptr, 0);
    }
    if (n <= 0) return std::nullopt;
    std::u16string text(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(cp, flags, bytes, size, reinterpret_cast<wchar_t*>(text.data()), n);
    return text;
}

}  // namespace

std::optional<std::u16string> decodeCodePage(int codePage, std::string_view bytes) {
    const UINT cp = windowsCodePage(codePage);
    if (!IsValidCodePage(cp)) return std::nullopt;
    if (bytes.empty()) return std::u16string();
    if (bytes.size() < 0x7fffffff) {
        if (auto whole = decodeStrict(cp, bytes.data(), static_cast<int>(bytes.size()))) return whole;
    }
    // Some sequence is bad: take the shortest valid sequence (no code page has
    // one longer than four bytes) at each place, or mark one bad byte.
    std::u16string text;
    std::size_t at = 0;
    while (at < bytes.size()) {
        bool found = false;
        for (std::size_t length = 1; length <= 4 && at + length <= bytes.size() && !found; ++length) {
            if (auto piece = decodeStrict(cp, bytes.data() + at, static_cast<int>(length))) {
                text += *piece;
                at += length;
                found = true;
            }
        }
        if (!found) {
            text += singleByteFallback(codePage, bytes[at]);
            ++at;
        }
    }
    return text;
}

std::optional<std::string> encodeCodePage(int codePage, std::u16string_view text) {
    const UINT cp = windowsCodePage(codePage);
    if (!IsValidCodePage(cp)) return std::nullopt;
    if (text.empty()) return std::string();
    if (text.size() >= 0x7fffffff) return std::nullopt;
    // UTF-8 and GB18030 hold every character, refuse the default-character
    // check and take the flag that refuses a lone surrogate instead.
    const bool unicode = cp == CP_UTF8 || cp == static_cast<UINT>(kCodePageGb18030);
    const DWORD flags = unicode ? WC_ERR_INVALID_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* check = unicode ? nullptr : &usedDefault;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(cp, flags, wide, size, nullptr, 0, nullptr, check);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(cp, flags, wide, size, bytes.data(), n, nullptr, check);
    return bytes;
}

}  // namespace tavlo
