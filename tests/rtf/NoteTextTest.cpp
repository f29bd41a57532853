// Notes as stored: RTF from the editors, plain text from elsewhere, and the
// plain text the export and the notes tool take from them.
#include "Rtf.h"
#include "RtfTestSupport.h"

#include <gtest/gtest.h>

namespace tavlo::rtf::test {
namespace {

// 今天 / 重要 / 会议 in GBK, as the Windows rich-edit control writes a note.
const QByteArray kRichEditNote =
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fprq2\\fcharset134 "
    "\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs30\\'bd\\'f1\\'cc\\'ec\\cf1\\b\\'d6\\'d8\\'d2\\'aa\\cf0\\b0\\par\r\n"
    "\\cf2\\'bb\\'e1\\'d2\\'e9\\cf0\\f1\\fs20  meeting\\f0\\fs30  \\u8730?\\par\r\n"
    "}\r\n";

// The same text as a newer control writes it: Unicode with GBK fall-back bytes.
const QByteArray kUnicodeNote =
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\*\\generator editor;}\\viewkind4\\uc2\\pard\\f0\\fs24\\u20170\\'bd\\'f1\\u22825\\'cc\\'ec"
    "\\cf1\\b\\u37325\\'d6\\'d8\\u35201\\'d2\\'aa\\cf0\\b0\\par\r\n}\r\n";

TEST(RichEditNotes, LoadWithTheirTextColoursAndFormats) {
    QTextDocument document;
    loadNoteText(kRichEditNote, document);
    EXPECT_EQ(describe(document).toStdString(),
              "[宋体,15pt]今天[宋体,15pt,b,#ff0000]重要\n"
              "[宋体,15pt,#0000ff]会议[Arial,10pt] meeting[宋体,15pt] √");

    loadNoteText(kUnicodeNote, document);
    EXPECT_EQ(describe(document).toStdString(), "[宋体,12pt]今天[宋体,12pt,b,#ff0000]重要");
}

struct NoteCase {
    const char* name;
    QByteArray bytes;
    const char* text;  // the document's plain text after loading
};

const NoteCase kNotes[] = {
    {"Empty", "", ""},
    {"RichEdit", kRichEditNote, "今天重要\n会议 meeting √"},
    {"LineBreakAndNonBreakingSpace", "{\\rtf1 a\\line b\\~c\\par d}", "a\nb c\nd"},
    {"Utf8PlainText", "第一行\r\n第二行\n第三行", "第一行\n第二行\n第三行"},
    {"Utf8WithByteOrderMark", "\xEF\xBB\xBFnote", "note"},
    {"Gb18030PlainText", "\xb5\xda\xd2\xbb\xb6\xce\r\n\xc4\xe3\xba\xc3", "第一段\n你好"},
    {"OldMacLineEnds", "a\rb", "a\nb"},
    {"TruncatedRtfShowsItsText", "{\\rtf1\\b cut off", "cut off"},
    {"NotRtfAtAllShowsEveryByte", "{ \\rtf1 x}", "{ \\rtf1 x}"},
    {"RtfWordLookalike", "{\\rtfm not rtf}", "{\\rtfm not rtf}"},
};

class NoteText : public testing::TestWithParam<NoteCase> {};

TEST_P(NoteText, LoadsAndGivesThePlainTextTheEditorShows) {
    const NoteCase& c = GetParam();
    QTextDocument document;
    document.setPlainText(u"上一条记事"_qs);
    loadNoteText(c.bytes, document);
    EXPECT_EQ(document.toPlainText().toStdString(), c.text);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_EQ(noteToPlainText(c.bytes).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Notes, NoteText, testing::ValuesIn(kNotes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NoteText, PlainTextLoadsUnformatted) {
    QTextDocument document;
    loadNoteText("{\\rtf1\\b bold}", document);
    loadNoteText("plain", document);
    EXPECT_EQ(describe(document).toStdString(), "plain");
}

}  // namespace
}  // namespace tavlo::rtf::test
