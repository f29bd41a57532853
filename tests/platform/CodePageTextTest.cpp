#include "CodePageText.h"

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
