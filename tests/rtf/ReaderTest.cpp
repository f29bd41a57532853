// The reader against RTF as other programs write it.
#include "Rtf.h"
#include "RtfReader.h"
#include "RtfTestSupport.h"

#include <gtest/gtest.h>

namespace tavlo::rtf::test {
namespace {

struct ReadCase {
    const char* name;
    const char* rtf;
    const char* expected;  // describe() of the document read
};

// A font table with one font per character set the notes meet.
#define FONTS                                                                                              \
    "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset136 MingLiU;}"          \
    "{\\f2\\fnil\\fcharset128 MS Mincho;}{\\f3\\fnil\\fcharset129 Gulim;}{\\f4\\fswiss\\fcharset0 Arial;}" \
    "{\\f5\\fnil\\fcharset1 Default;}{\\f6\\fnil\\fcharset2 Symbol;}{\\f7\\fnil\\cpg936\\fcharset0 Cpg;}}"

const ReadCase kCodePages[] = {
    {"DocumentCodePage936", "{\\rtf1\\ansi\\ansicpg936 \\'c4\\'e3\\'ba\\'c3}", "你好"},
    {"DefaultCodePageIs1252", "{\\rtf1\\ansi caf\\'e9}", "café"},
    {"RawHighBytesInTheCodePage", "{\\rtf1\\ansi\\ansicpg936 \xc4\xe3\xba\xc3}", "你好"},
    {"Gb2312Font", "{\\rtf1\\ansi\\ansicpg1252" FONTS "\\f0 \\'ba\\'ec\\'c9\\'ab}", "[宋体]红色"},
    {"Big5Font", "{\\rtf1\\ansi\\ansicpg936" FONTS "\\f1 \\'a4\\'a4\\'a4\\'e5}", "[MingLiU]中文"},
    // The second byte of ソ is a backslash, so it comes escaped.
    {"ShiftJisFontWithATrailByteThatIsABackslash", "{\\rtf1\\ansi" FONTS "\\f2 \\'93\\'fa\\'96\\{\\'83\\\\}",
     "[MS Mincho]日本ソ"},
    {"Cp949Font", "{\\rtf1\\ansi" FONTS "\\f3 \\'c7\\'d1\\'b1\\'b9}", "[Gulim]한국"},
    {"AnsiFontInAChineseDocument", "{\\rtf1\\ansi\\ansicpg936" FONTS "\\f4 caf\\'e9}", "[Arial]café"},
    {"DefaultCharsetFollowsTheDocument", "{\\rtf1\\ansi\\ansicpg936" FONTS "\\f5 \\'c4\\'e3}", "[Default]你"},
    {"SymbolFontKeepsItsBytes", "{\\rtf1\\ansi\\ansicpg936" FONTS "\\f6 \\'b7}", "[Symbol]·"},
    {"FontCodePageBeatsItsCharset", "{\\rtf1\\ansi" FONTS "\\f7 \\'c4\\'e3}", "[Cpg]你"},
    {"TextWithoutFontUsesTheDefaultFontsCodePage", "{\\rtf1\\ansi\\deff0" FONTS "\\'c4\\'e3}", "你"},
    {"CharsetChangeInsideARun", "{\\rtf1\\ansi\\ansicpg936" FONTS "\\'c4\\'e3\\f4\\'e9}", "你[Arial]é"},
    {"UnknownDocumentCodePageIsWindows1252", "{\\rtf1\\ansi\\ansicpg99999 a\\'e9\\'c4\\'80}", "aéÄ€"},
    {"UnknownFontCodePageIsWindows1252", "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\cpg77777 X;}}\\f0 \\'e9}", "[X]é"},
    {"EuroSignOfCodePage936", "{\\rtf1\\ansi\\ansicpg936 x\\'80y\\'81\\'80z}", "x€y亐z"},
    {"BadBytesBecomeReplacementCharacters", "{\\rtf1\\ansi\\ansicpg936 a\\'ffb\\'c4}", "a\ufffdb\ufffd"},
    {"FontNameInItsCodePageWithAlternative",
     "{\\rtf1{\\fonttbl{\\f0\\fcharset134 \\'ba\\'da\\'cc\\'e5{\\*\\falt SimHei};}}\\f0 x}", "[黑体]x"},
    {"SemicolonInAFontNameIsDropped", "{\\rtf1{\\fonttbl{\\f0 A\\u59?B ;}}\\f0 x}", "[AB]x"},
    {"FontTableWithoutGroups", "{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\froman Times;}\\f1 x}", "[Times]x"},
};

const ReadCase kUnicode[] = {
    {"NegativeValuesAreUnsigned16Bit", "{\\rtf1\\uc1\\u-255?\\u-32768?}", "！耀"},
    {"FallbackOfOneCharacterSkipped", "{\\rtf1\\uc1\\u20320?\\u22909?x}", "你好x"},
    {"FallbackOfEscapedBytes", "{\\rtf1\\ansicpg936\\uc2\\u20320\\'c4\\'e3x}", "你x"},
    {"NoFallback", "{\\rtf1\\uc0\\u20320 x}", "你x"},
    {"DefaultSkipIsOne", "{\\rtf1\\u20320?x}", "你x"},
    {"ControlWordCountsAsOneSkippedCharacter", "{\\rtf1\\uc2\\u20320\\b ab}", "你b"},
    {"GroupEndStopsSkipping", "{\\rtf1{\\uc3\\u20320}ab}", "你ab"},
    {"SkipCountBelongsToItsGroup", "{\\rtf1{\\uc2 \\u20320??}\\u22909?x}", "你好x"},
    {"SurrogatePair", "{\\rtf1\\u-10179?\\u-8694?}", "😊"},
    {"BeyondSixteenBitsTheFallbackStands", "{\\rtf1 a\\u70000?b\\u-40000?c\\u40000?d\\u65536?e\\u32768?f\\u100000x}",
     "a?b?c鱀d?e耀fx"},
    {"LineEndsCannotSplitTheParagraph", "{\\rtf1 a\\u13?\\u10?b}", "a\u2028\u2028b"},
};

const ReadCase kStructure[] = {
    {"Minimal", "{\\rtf1 hello}", "hello"},
    {"VersionlessHeader", "{\\rtf hello}", "hello"},
    {"NestedGroupsRestoreTheirState", "{\\rtf1{\\b a{\\i b}c}d}", "[b]a[b,i]b[b]c[]d"},
    {"TogglesOffWithZero", "{\\rtf1\\b\\i\\ul\\strike a\\b0 b\\i0 c\\ul0 d\\strike0 e}",
     "[b,i,u,s]a[i,u,s]b[u,s]c[s]d[]e"},
    {"UlnoneAndUnderlineKinds", "{\\rtf1\\uldb a\\ulnone b\\ulwave c\\ulc1 d}", "[u]a[]b[u]cd"},
    {"AssociatedBoldAndItalic", "{\\rtf1{\\dbch\\ab x}{\\ai y}}", "[b]x[i]y"},
    {"PlainResetsCharacterFormat", "{\\rtf1\\b\\i\\fs40 a\\plain b}", "[20pt,b,i]a[]b"},
    {"PardKeepsCharacterFormat", "{\\rtf1\\b a\\par\\pard b}", "[b]a\n[b]b"},
    {"FontSizeInHalfPoints", "{\\rtf1\\fs30 a\\fs21 b}", "[15pt]a[10.5pt]b"},
    {"ColourTable",
     "{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}\\cf1 a\\cf2 b\\cf0 c\\cf9 d}",
     "[#ff0000]a[#0080ff]b[]cd"},
    {"ColourTableWithoutAutoEntry", "{\\rtf1{\\colortbl\\red1\\green2\\blue3;}a\\cf0 b}", "[#010203]ab"},
    {"ParagraphsAndLines", "{\\rtf1 a\\par b\\line c\\par\\par d}", "a\nb\u2028c\n\nd"},
    {"LastParagraphMarkStartsNoParagraph", "{\\rtf1 a\\par }", "a"},
    {"EscapedNewlineIsAParagraph", "{\\rtf1 a\\\nb}", "a\nb"},
    {"SectionsPagesAndRowsEndParagraphs", "{\\rtf1 a\\sect b\\page c\\cell d\\row e}", "a\nb\nc\td\ne"},
    {"LineEndsInTheSourceAreIgnored", "{\\rtf1 ab\r\ncd\ne\\par\r\n}", "abcde"},
    {"EscapedSymbols", "{\\rtf1 \\\\ \\{ \\} \\~\\-\\_}", "\\ { } \u00a0\u00ad\u2011"},
    {"SpecialCharacterWords", "{\\rtf1\\tab\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
     "\t—–•‘’“”"},
    {"UnknownWordsAreIgnored", "{\\rtf1\\foo123 a\\bar-5 b\\verylongcontrolwordnamethatgoesonandonforever c}", "abc"},
    {"ParameterDelimiterIsOneSpace", "{\\rtf1\\b  a}", "[b] a"},
    {"IgnorableDestinations", "{\\rtf1{\\*\\generator Writer;}a{\\*\\unknown{\\b x}y}b}", "ab"},
    {"KnownDestinationsShowNothing",
     "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}{\\header H}{\\footer F}"
     "a{\\footnote N}{\\pict\\pngblip 89504e47}b}",
     "ab"},
    {"ObjectsShowTheirResult",
     "{\\rtf1 a{\\object\\objemb{\\*\\objclass Word}{\\*\\objdata 0102}{\\result R{\\b S}\\par T}}b{\\*\\result X}}",
     "aR[b]S\nTb"},
    {"FieldsShowTheirResult", "{\\rtf1{\\field{\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", "link"},
    {"BinarySkipsItsBytesBracesIncluded", "{\\rtf1 a{\\pict\\bin6 }{\\\\x}}b}", "ab"},
    {"BinaryInTextIsSkippedToo", "{\\rtf1 a\\bin2 {}b}", "ab"},
    {"TrailingBytesAfterTheDocumentAreIgnored", "{\\rtf1 a}}}junk{", "a"},
    {"BrokenHexEscapeStandsForNothing", "{\\rtf1 a\\'zzb\\'4}", "azzb4"},
    {"EscapedClosingBraceIsText", "{\\rtf1 a\\}", "a}"},
};

class Read : public testing::TestWithParam<ReadCase> {};

TEST_P(Read, GivesTheTextAndFormats) {
    EXPECT_EQ(describeRtf(QByteArray(GetParam().rtf)).toStdString(), GetParam().expected) << GetParam().rtf;
}

auto caseName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(CodePages, Read, testing::ValuesIn(kCodePages), caseName);
INSTANTIATE_TEST_SUITE_P(Unicode, Read, testing::ValuesIn(kUnicode), caseName);
INSTANTIATE_TEST_SUITE_P(Structure, Read, testing::ValuesIn(kStructure), caseName);

// Not RTF at all: the document keeps what it had.
TEST(Read, RejectsWhatIsNotRtfAndLeavesTheDocumentAlone) {
    const QByteArray cases[] = {"", "{", "hello", " {\\rtf1 a}", "{\\rtfx a}", "{\\rx", "{{\\rtf1 a}"};
    for (const QByteArray& bytes : cases) {
        QTextDocument document;
        document.setPlainText(u"旧内容"_qs);
        document.setModified(true);
        EXPECT_FALSE(readRtf(bytes, document)) << bytes.toStdString();
        EXPECT_EQ(document.toPlainText(), u"旧内容"_qs);
        EXPECT_TRUE(document.isModified());
    }
}

TEST(Read, GroupsPastTheDepthLimitShareTheFormatOfTheLastOne) {
    const auto nested = [](int depth, const char* inside) {
        return "{\\rtf1" + QByteArray(depth, '{') + inside + QByteArray(depth, '}') + " y}";
    };
    EXPECT_EQ(describeRtf(nested(kMaxGroupDepth - 1, "\\b x")).toStdString(), "[b]x[] y");
    // Every brace past the limit closes again without leaving the document.
    EXPECT_EQ(describeRtf(nested(kMaxGroupDepth + 5, "\\b x")).toStdString(), "[b]x[] y");
    EXPECT_EQ(describeRtf(nested(kMaxGroupDepth + 5, "x{\\i z}w")).toStdString(), "x[i]zw[] y");
}

TEST(Read, ReplacesTheContentAsOneUnmodifiedLoad) {
    QTextDocument document;
    document.setPlainText(u"旧内容"_qs);
    ASSERT_TRUE(readRtf("{\\rtf1 new\\par text}", document));
    EXPECT_EQ(document.toPlainText(), u"new\ntext"_qs);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_TRUE(document.isUndoRedoEnabled());
}

}  // namespace
}  // namespace tavlo::rtf::test
