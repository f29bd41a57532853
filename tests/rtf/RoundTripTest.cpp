// What the writer stores, the reader gives back: the same text and formats.
#include "Rtf.h"
#include "RtfTestSupport.h"

#include <gtest/gtest.h>

namespace tavlo::rtf::test {
namespace {

struct RoundTripCase {
    const char* name;
    TestDocument document;
    const char* expected;  // describe() of the document and of its copy
};

const RoundTripCase kCases[] = {
    {"Empty", {}, ""},
    {"OneAsciiLine", {{{"Hello, notes"}}}, "Hello, notes"},
    {"ChineseParagraphs",
     {{{"今天：开会"}}, {{"明天，写报告！"}}, {{"后天休息"}}},
     "今天：开会\n明天，写报告！\n后天休息"},
    {"EveryCharacterFormat",
     {{{"粗", fmt({"b"})},
       {"斜", fmt({"i"})},
       {"下划线", fmt({"u"})},
       {"删除", fmt({"s"})},
       {"全部", fmt({"b", "i", "u", "s"})},
       {" plain"}}},
     "[b]粗[i]斜[u]下划线[s]删除[b,i,u,s]全部[] plain"},
    {"ColoursFontsAndSizes",
     {{{"红", fmt({"#ff0000"})}, {"蓝", fmt({"#0000ff"})}, {"又红", fmt({"#ff0000", "b"})}},
      {{"黑体大字", fmt({"黑体", "18pt"})}, {"Arial", fmt({"Arial", "10.5pt", "#123456"})}},
      {{"宋体", fmt({"宋体", "9pt"})}}},
     "[#ff0000]红[#0000ff]蓝[b,#ff0000]又红\n[黑体,18pt]黑体大字[Arial,10.5pt,#123456]Arial\n[宋体,9pt]宋体"},
    {"CharactersRtfGivesMeaning", {{{"a\\b {c} d\tend"}, {"x\\{}", fmt({"b"})}}}, "a\\b {c} d\tend[b]x\\{}"},
    {"LineBreaksInsideAParagraph",
     {{{u"第一行"_qs + QChar::LineSeparator + u"第二行"_qs}}, {{"下一段"}}},
     "第一行\u2028第二行\n下一段"},
    {"EmptyParagraphsInTheMiddleAndAtTheEnd", {{{"a"}}, {}, {}, {{"b"}}, {}}, "a\n\n\nb\n"},
    {"OnlyEmptyParagraphs", {{}, {}}, "\n"},
    {"CharactersAbove32767AndOutsideTheBasicPlane", {{{"！～￥ 😊 \u00a0nbsp é"}}}, "！～￥ 😊 \u00a0nbsp é"},
    {"TextThatLooksLikeRtfAfterAFormat",
     {{{"123", fmt({"b"})}, {" 456"}, {"\\par", fmt({"i"})}, {"?"}}},
     "[b]123[] 456[i]\\par[]?"},
};

class RoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, GivesBackTheSameTextAndFormats) {
    const RoundTripCase& c = GetParam();
    const auto original = makeDocument(c.document);
    ASSERT_EQ(describe(*original).toStdString(), c.expected);

    const QByteArray rtf = writeRtf(*original);
    QTextDocument copy;
    ASSERT_TRUE(readRtf(rtf, copy)) << rtf.toStdString();
    EXPECT_EQ(describe(copy).toStdString(), c.expected) << rtf.toStdString();
    EXPECT_EQ(copy.toPlainText(), original->toPlainText());
    EXPECT_EQ(noteToPlainText(rtf), original->toPlainText());
}

INSTANTIATE_TEST_SUITE_P(Documents, RoundTrip, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Writer, WritesSevenBitRtfWithTheChineseCodePageAndFontTable) {
    const auto document = makeDocument({{{"红色", fmt({"#ff0000"})}, {"ok", fmt({"黑体", "Liberation Sans"})}}});
    const QByteArray rtf = writeRtf(*document);

    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl")) << rtf.toStdString();
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return c > 0; }));
    // The default face is font 0; Chinese faces carry the GB2312 set, their names in GBK.
    EXPECT_TRUE(rtf.contains("{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\fcharset0 Liberation Sans;}")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;}")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\uc1")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\u32418?\\u-32142?")) << rtf.toStdString();
    EXPECT_TRUE(rtf.endsWith("\\par\r\n}")) << rtf.toStdString();
}

// A ";" ends a name in the font table, so a face whose name holds one is
// stored without it; the entry stays whole and the faces after it keep their
// places.
TEST(Writer, SemicolonInAFontNameLeavesTheFontTableWhole) {
    const auto document = makeDocument({{{"甲", fmt({"宋体;粗"})},
                                         {"乙", fmt({"黑体"})},
                                         {"丙", fmt({"楷体;"})},
                                         {"丁", fmt({"Arial;Narrow"})},
                                         {"戊", fmt({"Liberation Sans"})}}});
    const QByteArray rtf = writeRtf(*document);
    EXPECT_TRUE(rtf.contains("{\\f1\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5\\'b4\\'d6;}")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("{\\f4\\fnil\\fcharset0 ArialNarrow;}")) << rtf.toStdString();
    EXPECT_EQ(describeRtf(rtf).toStdString(), "[宋体粗]甲[黑体]乙[楷体]丙[ArialNarrow]丁[Liberation Sans]戊");
}

TEST(Writer, StoresPixelSizesAsPointsAt96Dpi) {
    QTextCharFormat pixels;
    pixels.setProperty(QTextFormat::FontPixelSize, 16);
    const auto document = makeDocument({{{"x", pixels}}});
    EXPECT_EQ(describeRtf(writeRtf(*document)).toStdString(), "[12pt]x");
}

}  // namespace
}  // namespace tavlo::rtf::test

namespace tavlo::rtf::test {
namespace {

// Each run its own font and colour: every table index must point at its entry.
TEST(RoundTrip, ThousandsOfFontsAndColours) {
    std::vector<TestRun> runs;
    for (int i = 0; i < 3000; ++i) {
        QTextCharFormat format;
        format.setFontFamilies({QStringLiteral("Face %1").arg(i % 1500)});
        format.setForeground(QColor(QRgb(0x10000 * (i % 7) + i)));
        runs.push_back({QString::number(i) + u' ', format});
    }
    const auto original = makeDocument({runs});
    QTextDocument copy;
    ASSERT_TRUE(readRtf(writeRtf(*original), copy));
    EXPECT_EQ(describe(copy), describe(*original));
}

}  // namespace
}  // namespace tavlo::rtf::test
