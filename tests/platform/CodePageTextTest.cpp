#include "CodePageText.h"
#include "Gb18030.h"

#include <gtest/gtest.h>

#include <random>

using namespace tavlo;

TEST(CodePageText, DecodesAndMarksEachBadByte) {
    const struct {
        int codePage;
        std::string_view bytes;
        std::u16string text;
    } cases[] = {
        {936, "\xC4\xE3\xBA\xC3", u"你好"},
        {kCodePageGb18030, "\x95\x32\x82\x36", u"\U00020000"},
        {936, "\x80\x81\x80", u"€\u4E90"},  // the euro byte, and 0x80 as a trail byte
        {kCodePageGb18030, "\x80", u"\uFFFD"},
        {936,
         "a\x81\x20"
         "b",
         u"a\uFFFD b"},  // a lead byte without its trail
        {936, "\xFF\xFF", u"\uFFFD\uFFFD"},
        {936, "ok\xC4", u"ok\uFFFD"},  // cut off at the end
        {936, "\x81\x30\x81", u"\uFFFD0\uFFFD"},
        {1252, "caf\xE9\x80", u"café€"},
        {kCodePageUtf8, "\xE4\xBD\xA0\xC0\xAF!", u"你\uFFFD\uFFFD!"},
        {28595, "\xD0", u"а"},  // ISO-8859-5
        {20866, "\xC1", u"а"},  // KOI8-R
        {51932, "\xA4\xA2", u"あ"},
        {936, "", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(decodeCodePage(c.codePage, c.bytes), c.text) << c.bytes;
    for (const int unknown : {99999, 0, -1, 31}) EXPECT_EQ(decodeCodePage(unknown, "a"), std::nullopt) << unknown;
}

// Output comes through a buffer of its own size: text far larger than it,
// with bad bytes strewn through, comes out whole and in order.
TEST(CodePageText, LongTextWithBadBytesComesOutWhole) {
    std::mt19937 random(7);
    std::string bytes;
    std::u16string expected;
    const std::pair<std::string_view, std::u16string_view> pieces[] = {{"\xC4\xE3", u"你"},
                                                                       {"x", u"x"},
                                                                       {"\x95\x32\x82\x36", u"\U00020000"},
                                                                       {"\xFF", u"\uFFFD"},
                                                                       {"\x81\x20", u"\uFFFD "}};
    while (bytes.size() < 600'000) {
        const auto& [in, out] = pieces[random() % std::size(pieces)];
        bytes += in;
        expected += out;
    }
    EXPECT_EQ(decodeCodePage(kCodePageGb18030, bytes), expected);
}

TEST(CodePageText, EncodesOrRefuses) {
    EXPECT_EQ(encodeCodePage(936, u"你好€"), "\xC4\xE3\xBA\xC3\xA2\xE3");  // the GB18030 form
    EXPECT_EQ(encodeCodePage(kCodePageGb18030, u"\U00020000"), "\x95\x32\x82\x36");
    EXPECT_EQ(encodeCodePage(1252, u"你"), std::nullopt);
    EXPECT_EQ(encodeCodePage(kCodePageGb18030, std::u16string(1, u'\xD800')), std::nullopt);
    EXPECT_EQ(encodeCodePage(99999, u"a"), std::nullopt);
    const std::u16string big(300'000, u'中');
    EXPECT_EQ(encodeCodePage(936, big), [] {
        std::string bytes;
        for (int i = 0; i < 300'000; ++i) bytes += "\xD6\xD0";
        return bytes;
    }());
}

// Only well-formed UTF-8 is text: a surrogate, an overlong form or a value
// above U+10FFFF is not, and reads as one U+FFFD a byte.
TEST(Utf8, AcceptsOnlyWellFormedSequences) {
    const std::string_view valid[] = {
        "\xC2\x80",          // U+0080
        "\xE0\xA0\x80",      // U+0800, the first three-byte value
        "\xED\x9F\xBF",      // U+D7FF, just below the surrogates
        "\xEE\x80\x80",      // U+E000, just above them
        "\xF0\x90\x80\x80",  // U+10000, the first four-byte value
        "\xF4\x8F\xBF\xBF",  // U+10FFFF, the last
    };
    for (const std::string_view text : valid) {
        EXPECT_TRUE(isUtf8(text)) << text;
        EXPECT_EQ(sanitizeUtf8(text), text);
        EXPECT_NO_THROW(utf8ToGb18030(text)) << text;
    }
    const std::string_view invalid[] = {
        "\xC1\xBF",          // U+007F in two bytes
        "\xE0\x9F\xBF",      // U+07FF in three
        "\xE0\x80\xAF",      // '/' in three
        "\xED\xA0\x80",      // U+D800, a high surrogate
        "\xED\xBF\xBF",      // U+DFFF, a low one
        "\xF0\x8F\xBF\xBF",  // U+FFFF in four
        "\xF4\x90\x80\x80",  // U+110000
        "\xF5\x80\x80\x80",  // beyond any code point
    };
    for (const std::string_view text : invalid) {
        EXPECT_FALSE(isUtf8(text)) << testing::PrintToString(text);
        std::string marks;
        for (std::size_t i = 0; i < text.size(); ++i) marks += "\uFFFD";
        EXPECT_EQ(sanitizeUtf8("a" + std::string(text) + "b"), "a" + marks + "b") << testing::PrintToString(text);
        EXPECT_THROW(utf8ToGb18030(text), TextEncodingError) << testing::PrintToString(text);
    }
}
