#pragma once
#include <optional>
#include <string>
#include <string_view>

// Text in the Windows code pages, by their numbers (936, 1252, 54936, 65001,
// ...), to and from UTF-16. The conversions live in one small file per
// system (CodePageText_iconv.cpp, CodePageText_windows.cpp).
namespace tavlo {

constexpr int kCodePageGb18030 = 54936;
constexpr int kCodePageUtf8 = 65001;

// Bytes in `codePage` as text: a byte sequence that is not valid there becomes
// U+FFFD, one per bad byte. Nothing when this system cannot convert the code
// page at all. Code page 936 is read as GB18030: the same bytes for every GBK
// character, and its single byte 0x80 is the euro sign, as Windows reads it.
// Every conversion costs time in proportion to the bytes, whatever they are.
std::optional<std::u16string> decodeCodePage(int codePage, std::string_view bytes);

// What a byte that starts no valid sequence in `codePage` stands for.
inline char16_t singleByteFallback(int codePage, char byte) {
    return codePage == 936 && byte == '\x80' ? u'\u20AC' : u'\uFFFD';
}

// Text as bytes in `codePage`; nothing when a character has no bytes there,
// the text holds a lone surrogate, or the code page cannot be converted.
std::optional<std::string> encodeCodePage(int codePage, std::u16string_view text);

}  // namespace tavlo
