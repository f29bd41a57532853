// The export of every note: one text file per note in the chosen encoding,
// and one HTML page that keeps the colours.
#include "Gb18030.h"
#include "NoteExportAll.h"
#include "NoteStore.h"
#include "NotesFixture.h"
#include "Rtf.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::notes;

namespace {

QByteArray redNote(const QString& plain, const QString& red) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(plain);
    QTextCharFormat format;
    format.setForeground(QColor(255, 0, 0));
    cursor.insertText(red, format);
    return rtf::writeRtf(document);
}

std::set<std::string> filesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(reinterpret_cast<const char*>(entry.path().filename().u8string().c_str()));
    return names;
}

}  // namespace

TEST(NoteExportAll, EveryNoteWithTextAsAFileAndAllInOnePage) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), redNote(QStringLiteral("第一行\n"), QStringLiteral("红色的字")));
    writeDayNote(*f.dm, QDate(2011, 1, 9), "plain 文字");
    writeDayNote(*f.dm, QDate(2011, 1, 10), redNote(QString(), QStringLiteral(" ")));  // nothing to read
    writeWeekPage(*f.dm, 2, {"", "二", "", "", "", "周末"});

    const auto utf8 = f.folder / "导出";
    const ExportCount count = exportAllNotes(f.dm->AdoCon, utf8, ExportEncoding::Utf8);
    EXPECT_EQ(count.dayNotes, 2);
    EXPECT_EQ(count.weekPages, 1);
    EXPECT_EQ(filesIn(utf8), (std::set<std::string>{"20100601.txt", "20110109.txt", "周记B.txt", "全部记事.html"}));
    EXPECT_EQ(test::readFileBytes(utf8 / "20100601.txt"), "第一行\n红色的字\n");
    EXPECT_EQ(test::readFileBytes(utf8 / "周记B.txt"),
              "周一\n\n\n周二\n二\n\n周三\n\n\n周四\n\n\n周五\n\n\n周六/日\n周末\n");
    const QString html = QString::fromStdString(test::readFileBytes(utf8 / "全部记事.html"));
    EXPECT_TRUE(html.contains(QStringLiteral("2010年6月1日（二）")));
    EXPECT_TRUE(html.contains(QStringLiteral("周记 B 页")));
    const qsizetype red = html.indexOf(QStringLiteral("红色的字"));
    ASSERT_GT(red, 0);
    EXPECT_TRUE(html.lastIndexOf(QStringLiteral("color:#ff0000"), red) > html.lastIndexOf(u'<', red) - 200)
        << "colour lost";

    const auto gb = f.folder / "gb";
    exportAllNotes(f.dm->AdoCon, gb, ExportEncoding::Gb18030);
    EXPECT_EQ(test::readFileBytes(gb / "20100601.txt"), utf8ToGb18030("第一行\r\n红色的字\r\n"));
    EXPECT_EQ(test::readFileBytes(gb / "全部记事.html"), test::readFileBytes(utf8 / "全部记事.html"));
}

TEST(NoteExportAll, AFolderThatCannotBeMadeFailsWithItsName) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "x");
    test::writeFileBytes(f.folder / "taken", "");
    try {
        exportAllNotes(f.dm->AdoCon, f.folder / "taken" / "out", ExportEncoding::Utf8);
        ADD_FAILURE() << "no failure";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("taken"), std::string::npos) << e.what();
    }
}

TEST(NoteExportAll, LinksPlantedInTheFolderAreReplacedNotWrittenThrough) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2025, 1, 1), "the day's note");
    const auto elsewhere = f.folder / "elsewhere";
    test::writeFileBytes(elsewhere, "not the notes'");
    const auto out = f.folder / "out";
    std::filesystem::create_directory(out);
    for (const QString& name : {QStringLiteral("20250101.txt"), kExportHtmlName})
        std::filesystem::create_symlink(elsewhere, out / std::filesystem::path(name.toStdU16String()));
    exportAllNotes(f.dm->AdoCon, out, ExportEncoding::Utf8);
    EXPECT_EQ(test::readFileBytes(elsewhere), "not the notes'");
    EXPECT_EQ(test::readFileBytes(out / "20250101.txt"), "the day's note\n");
    EXPECT_FALSE(std::filesystem::is_symlink(out / "20250101.txt"));
    EXPECT_FALSE(std::filesystem::is_symlink(out / std::filesystem::path(kExportHtmlName.toStdU16String())));
}
