// The editors' side of the notes: documents in and out, saves held back
// until a load, saves filed where the documents came from, and the export.
#include "Gb18030.h"
#include "NoteEditing.h"
#include "NoteText.h"
#include "NotesError.h"
#include "NotesFixture.h"
#include "Rtf.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::notes;

namespace {

struct WeekDocs {
    std::array<QTextDocument, kWeekEditors> documents;
    NoteEditing::WeekDocuments pointers() {
        NoteEditing::WeekDocuments result;
        for (int i = 0; i < kWeekEditors; ++i) result[i] = &documents[i];
        return result;
    }
    void fill(const QString& prefix) {
        for (int i = 0; i < kWeekEditors; ++i) documents[i].setPlainText(prefix + QString::number(i + 1));
    }
    QStringList texts() const {
        QStringList list;
        for (const QTextDocument& d : documents) list << d.toPlainText();
        return list;
    }
};

QStringList numbered(const QString& prefix) {
    QStringList list;
    for (int i = 1; i <= kWeekEditors; ++i) list << prefix + QString::number(i);
    return list;
}

}  // namespace

TEST(NoteEditing, WeekSavesAreHeldBackUntilAPageIsLoadedThenGoWhereTheyCameFrom) {
    test::NotesFixture f;
    NoteEditing editing(f.dm.get());
    WeekDocs docs;
    writeWeekPage(*f.dm, 1, {"kept1", "kept2", "kept3", "kept4", "kept5", "kept6"});

    // Start-up: the page number comes from the geometry file, the editors
    // are empty; saving them would wipe the page.
    EXPECT_EQ(editing.saveWeek(1, docs.pointers()), NoteEditing::Saved::HeldBack);
    EXPECT_EQ(docs.texts(), QStringList(6, QString()));
    editing.loadWeek(1, docs.pointers());
    EXPECT_EQ(docs.texts(), numbered("kept"));

    docs.fill("A");
    // While a page loads its number is 0: nothing is written.
    EXPECT_EQ(editing.saveWeek(0, docs.pointers()), NoteEditing::Saved::NothingWritten);
    // The day buttons leave 1 … 3 in the shared page number; the week
    // editors still hold page A and are filed there, never into page C.
    EXPECT_EQ(editing.saveWeek(3, docs.pointers()), NoteEditing::Saved::Written);
    EXPECT_EQ(readWeekPage(*f.dm, 3), WeekTexts{});
    editing.loadWeek(2, docs.pointers());
    EXPECT_EQ(docs.texts(), QStringList(6, QString()));
    editing.loadWeek(1, docs.pointers());
    EXPECT_EQ(docs.texts(), numbered("A"));
}

TEST(NoteEditing, AFailedLoadLeavesTheDocumentsAndWhereTheyBelong) {
    test::NotesFixture f;
    NoteEditing editing(f.dm.get());
    WeekDocs docs;
    editing.loadWeek(2, docs.pointers());
    docs.fill("B");
    QTextDocument day;
    editing.loadDay(QDate(2010, 6, 1), day);
    day.setPlainText("june");

    f.dm->AdoCon.close();
    test::writeFileBytes(f.databaseFile(), "no longer a database");
    EXPECT_THROW(editing.loadWeek(4, docs.pointers()), NotesError);
    EXPECT_THROW(editing.loadDay(QDate(2010, 6, 2), day), NotesError);
    EXPECT_EQ(docs.texts(), numbered("B"));
    EXPECT_EQ(day.toPlainText(), "june");
    EXPECT_EQ(editing.loadedWeekPage(), 2);
    EXPECT_EQ(editing.loadedDay(), QDate(2010, 6, 1));
    EXPECT_THROW(editing.saveDay(day), NotesError);
}

TEST(NoteEditing, TheDayNoteIsSavedUnderTheDateItWasLoadedFor) {
    test::NotesFixture f;
    NoteEditing editing(f.dm.get());
    QTextDocument day;
    writeDayNote(*f.dm, QDate(2010, 6, 2), "the second of June");

    EXPECT_EQ(editing.saveDay(day), NoteEditing::Saved::HeldBack);
    EXPECT_FALSE(readDayNote(*f.dm, QDate(2010, 6, 1)));

    editing.loadDay(QDate(2010, 6, 1), day);
    EXPECT_TRUE(day.isEmpty());
    day.setPlainText("the first of June");
    EXPECT_EQ(editing.saveDay(day), NoteEditing::Saved::Written);
    EXPECT_EQ(dayNoteKeys(*f.dm), (QStringList{"20100601", "20100602"}));

    editing.loadDay(QDate(2010, 6, 2), day);
    EXPECT_EQ(day.toPlainText(), "the second of June");
    editing.loadDay(QDate(2010, 6, 1), day);
    EXPECT_EQ(day.toPlainText(), "the first of June");
}

TEST(NoteEditing, StoredTextLoadsAsRichTextOrElseAsPlainText) {
    test::NotesFixture f;
    NoteEditing editing(f.dm.get());
    QTextDocument day;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "plain text, not {\\rtf");
    editing.loadDay(QDate(2010, 6, 1), day);
    EXPECT_EQ(day.toPlainText(), "plain text, not {\\rtf");

    // Coloured text keeps its colour through a save and a load.
    day.clear();
    QTextCursor cursor(&day);
    cursor.insertText("黑色 ");
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    cursor.insertText("红色", red);
    editing.saveDay(day);
    day.clear();
    editing.loadDay(QDate(2010, 6, 1), day);
    EXPECT_EQ(day.toPlainText(), "黑色 红色");
    QTextCursor probe(&day);
    probe.setPosition(day.toPlainText().indexOf("红") + 1);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(255, 0, 0));
    probe.setPosition(1);
    EXPECT_NE(probe.charFormat().foreground().color(), QColor(255, 0, 0));
}

TEST(NoteEditing, WithoutADataModuleLoadsFailAndSavesWriteNothing) {
    NoteEditing editing(nullptr);
    WeekDocs docs;
    QTextDocument day;
    EXPECT_THROW(editing.loadWeek(1, docs.pointers()), NotesError);
    EXPECT_THROW(editing.loadDay(QDate(2010, 6, 1), day), NotesError);
    EXPECT_EQ(editing.saveWeek(1, docs.pointers()), NoteEditing::Saved::HeldBack);
    EXPECT_EQ(editing.saveDay(day), NoteEditing::Saved::HeldBack);
}

TEST(NoteExport, NamesAndBytes) {
    struct Name {
        int page;
        const char* proposed;
    };
    for (const Name& n : {Name{1, "A备忘录"}, Name{3, "C备忘录"}, Name{5, "E备忘录"}, Name{0, "备忘录"},
                          Name{6, "备忘录"}, Name{-1, "备忘录"}})
        EXPECT_EQ(exportProposedName(n.page), QString::fromUtf8(n.proposed)) << n.page;
    EXPECT_EQ(exportFileName("notes.txt"), "notes.txt.txt");
    EXPECT_EQ(exportFileName("/tmp/C备忘录"), "/tmp/C备忘录.txt");

    // Line breaks of every kind become CR LF, one more ends the text, and
    // the text is in the Chinese code page (GB18030 keeps even 𠀀).
    const QString text = QStringLiteral("第一行\n第二行\u2028第三行\r\n√ × 𠀀");
    const QByteArray bytes = exportBytes(text);
    EXPECT_EQ(bytes, QByteArray::fromStdString(utf8ToGb18030("第一行\r\n第二行\r\n第三行\r\n√ × 𠀀\r\n")));
    EXPECT_EQ(bytes.left(6), QByteArray("\xB5\xDA\xD2\xBB\xD0\xD0"));
    EXPECT_EQ(exportBytes(""), "\r\n");
}

TEST(NoteEditing, DateStamps) {
    struct Case {
        QDate date;
        const char* stamp;
    };
    for (const Case& c : {Case{{2010, 6, 1}, " 2010.06.01 (二)"}, Case{{2011, 1, 9}, " 2011.01.09 (日)"},
                          Case{{2026, 12, 12}, " 2026.12.12 (六)"}, Case{{2026, 12, 7}, " 2026.12.07 (一)"}})
        EXPECT_EQ(dateStamp(c.date), QString::fromUtf8(c.stamp));
}

TEST(NoteExport, WritesTheFileWholeOrReportsWhyNot) {
    test::TempFolder folder;
    const QString chosen = QString::fromStdString((folder / "notes.txt").string());
    test::writeFileBytes(folder / "notes.txt.txt", "older export");
    writeExport(chosen, "今天");
    EXPECT_EQ(test::readFileBytes(folder / "notes.txt.txt"), utf8ToGb18030("今天\r\n"));
    EXPECT_FALSE(std::filesystem::exists(folder / "notes.txt"));
    EXPECT_ANY_THROW(writeExport(QString::fromStdString((folder / "missing" / "x").string()), "今天"));
}

TEST(NoteEditing, ANoteTooLargeToEditIsAPreviewThatIsNeverWrittenBack) {
    test::NotesFixture f;
    NoteEditing editing(f.dm.get());
    // One paragraph of two million characters, as plain text, and a large
    // RTF note of many paragraphs.
    const QByteArray oneLine(2 * 1024 * 1024, 'x');
    QByteArray rtf = "{\\rtf1\\ansi ";
    while (rtf.size() < 3 * 1024 * 1024) rtf += "\\u20170?\\u22825? line\\par\n";
    rtf += "the end}";
    for (const QByteArray& stored : {oneLine, rtf}) {
        writeDayNote(*f.dm, QDate(2010, 6, 1), stored);
        QTextDocument day;
        editing.loadDay(QDate(2010, 6, 1), day);
        EXPECT_EQ(editing.dayPreview(), stored.size());
        EXPECT_LE(day.characterCount(), kPreviewChars + kPreviewChars / kPreviewLineChars + 1);
        EXPECT_GT(day.characterCount(), 1000);
        day.setPlainText("edited preview");
        EXPECT_EQ(editing.saveDay(day), NoteEditing::Saved::HeldBack);
        EXPECT_EQ(readDayNote(*f.dm, QDate(2010, 6, 1)).value(), stored);
    }
    writeDayNote(*f.dm, QDate(2010, 6, 2), "small");
    QTextDocument day;
    editing.loadDay(QDate(2010, 6, 2), day);
    EXPECT_FALSE(editing.dayPreview());

    // A week page with one large column: the others are saved, it stays.
    writeWeekPage(*f.dm, 1, {"one", oneLine, "three", "", "", ""});
    WeekDocs docs;
    editing.loadWeek(1, docs.pointers());
    EXPECT_TRUE(editing.weekPreview(1));
    EXPECT_FALSE(editing.weekPreview(0));
    docs.fill("new");
    EXPECT_EQ(editing.saveWeek(1, docs.pointers()), NoteEditing::Saved::Written);
    const WeekTexts stored = readWeekPage(*f.dm, 1);
    EXPECT_EQ(stored[1], oneLine);
    EXPECT_EQ(rtf::noteToPlainText(stored[0]), "new1");
}

TEST(NoteEditing, APrefixOfANoteIsANoteOfItsOwn) {
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 first\\par {\\b \\u20170?bold} tail\\par}";
    const QByteArray plain = QStringLiteral("中文中文").toUtf8();
    struct Case {
        QByteArray bytes;
        qsizetype limit;
        QString text;
    };
    const Case cases[] = {
        {rtf, 1000, QStringLiteral("first\n今bold tail")},
        // Cut inside a word, inside the bold group, inside a \u escape: no
        // word or escape split, groups closed, never RTF code as text.
        {rtf, rtf.indexOf("tail") + 2, QStringLiteral("first\n今bold")},
        {rtf, rtf.indexOf("bold") + 2, QStringLiteral("first")},
        {rtf, rtf.indexOf("\\u20170") + 4, QStringLiteral("first")},
        {plain, 7, QStringLiteral("中文")},
        {plain, 6, QStringLiteral("中文")},
        {plain, 1000, QStringLiteral("中文中文")},
    };
    for (const Case& c : cases) EXPECT_EQ(notePlainText(c.bytes, c.limit).trimmed(), c.text) << c.limit;
}

TEST(NoteEditing, ANoteWithAParagraphTooLongToLayOutIsAPreviewWhateverItsSize) {
    struct Case {
        const char* what;
        QByteArray bytes;
        bool preview;
    };
    const QByteArray longLine(kEditableParagraphChars + 10, 'y');
    // Chinese as \u escapes: more bytes than characters, still editable.
    QByteArray escaped = "{\\rtf1\\ansi ";
    for (int i = 0; i < kEditableParagraphChars - 10; ++i) escaped += "\\u20170?";
    escaped += "\\pard end}";
    const Case cases[] = {
        {"a plain line just too long", longLine, true},
        {"an RTF paragraph just too long", "{\\rtf1\\ansi " + longLine + "\\par}", true},
        {"many short lines", QByteArray("line\n").repeated(20'000), false},
        {"a long paragraph of escapes", escaped, false},
    };
    for (const Case& c : cases) {
        QTextDocument document;
        document.setPlainText("before");
        EXPECT_EQ(loadNoteOrPreview(c.bytes, document).has_value(), c.preview) << c.what;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            EXPECT_LE(block.length(), kEditableParagraphChars + 1) << c.what;
        EXPECT_FALSE(document.isUndoAvailable()) << c.what;
    }
}
