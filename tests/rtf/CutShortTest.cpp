// Notes cut short or unbalanced (what a crash of another writer or a damaged
// copy leaves) show the text that can be read from them, never RTF code.
#include "Rtf.h"
#include "RtfTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace tavlo::rtf::test {
namespace {

TEST(CutShort, ShowsTheTextReadSoFar) {
    const struct {
        const char* rtf;
        const char* expected;
    } cases[] = {
        {"{\\", ""},
        {"{\\rt", ""},
        {"{\\rtf", ""},
        {"{\\rtf1 a", "a"},
        {"{\\rtf1 {\\b a}", "[b]a"},
        {"{\\rtf1 a{\\b b", "a[b]b"},
        {"{\\rtf1 a{\\*\\generator x", "a"},
        {"{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Tim", ""},
        {"{\\rtf1{\\colortbl;\\red255", ""},
        {"{\\rtf1 a\\bin10 abc", "a"},
        {"{\\rtf1\\ansicpg936 a\\'c4\\'e3\\'c4", "a你\ufffd"},
        {"{\\rtf1 a\\'c", "ac"},  // a broken escape shows its bytes
        {"{\\rtf1 a\\u20320", "a你"},
        {"{\\rtf1 a\\par", "a"},
        {"{\\rtf1 a\\par b\\", "a\nb"},
        {"{\\rtf1 a}b}c", "a"},
    };
    for (const auto& c : cases) EXPECT_EQ(describeRtf(c.rtf).toStdString(), c.expected) << c.rtf;
}

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(TAVLO_TEST_DATA "/rtf/data/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// Every prefix of a real note reads as a prefix of its text; only the last
// character may differ (half of a \'hh pair, a \uN cut inside its number).
void expectEveryCutReadsAsAPrefix(const QByteArray& note) {
    const QString whole = noteToPlainText(note);
    ASSERT_FALSE(whole.isEmpty());
    for (qsizetype size = 2; size < note.size(); ++size) {
        const QByteArray cut = note.first(size);
        const QString text = noteToPlainText(cut);
        const QString settled = text.chopped(std::min<qsizetype>(1, text.size()));
        ASSERT_TRUE(whole.startsWith(settled)) << "cut at " << size << ": " << text.toStdString();
        QTextDocument document;
        loadNoteText(cut, document);
        ASSERT_EQ(document.toPlainText(), text) << "cut at " << size;
    }
}

TEST(CutShort, EveryCutOfANoteWrittenByThisProgram) {
    const auto document = makeDocument({
        {{"今天下午三点开会，"}, {"务必准时", fmt({"b", "#ff0000"})}, {"。"}},
        {{"议题：", fmt({"黑体", "14pt"})}, {"预算 {x} \\ 😊", fmt({"#0000ff"})}},
    });
    expectEveryCutReadsAsAPrefix(writeRtf(*document));
}

TEST(CutShort, EveryCutOfANoteWrittenByLibreOffice) {
    const QByteArray note = fixture("written-by-libreoffice.rtf");
    ASSERT_TRUE(note.startsWith("{\\rtf1"));
    EXPECT_EQ(noteToPlainText(note).toStdString(), "今天下午三点开会，务必准时。\n红色 red {括号} \\反斜杠 € ü ");
    expectEveryCutReadsAsAPrefix(note);
}

}  // namespace
}  // namespace tavlo::rtf::test
