// tavlo-notes as a user runs it, over a program folder with notes in it.
#include "Gb18030.h"
#include "NoteStore.h"
#include "NotesFixture.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace tavlo;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

ToolRun tool(const test::NotesFixture& f, const QStringList& args) {
    QProcess process;
    process.start(TAVLO_NOTES_TOOL, QStringList{"--folder", QString::fromStdString(f.folder.path().string())} + args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

}  // namespace

TEST(NotesTool, ListsShowsAndExportsDayNotes) {
    test::NotesFixture f;
    notes::writeDayNote(*f.dm, QDate(2010, 6, 1), "{\\rtf1\\ansi \\u20170?\\u22825?\\par second line}");
    notes::writeDayNote(*f.dm, QDate(2011, 1, 9), "plain 文字");

    struct Case {
        QStringList args;
        int exitCode;
        const char* out;
    };
    const Case cases[] = {
        {{"list"}, 0, "20100601\n20110109\n"},
        {{"show", "20110109"}, 0, "plain 文字\n"},
        {{"show", "20110110"}, 1, ""},
        {{"show", "2011-1-9"}, 1, ""},
        {{"frobnicate"}, 2, ""},
        {{"show"}, 2, ""},
    };
    for (const Case& c : cases) {
        const ToolRun r = tool(f, c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.join(' ').toStdString();
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
    const ToolRun shown = tool(f, {"show", "20100601"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("second line"), std::string::npos) << shown.out;

    const std::string out = (f.folder / "exported").string();
    const ToolRun exported = tool(f, {"export", "20110109", QString::fromStdString(out)});
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, out + ".txt\n");
    EXPECT_EQ(test::readFileBytes(out + ".txt"), utf8ToGb18030("plain 文字\r\n"));
}

TEST(NotesTool, TextOfNoteFilesAndOneLineErrors) {
    test::NotesFixture f;
    test::writeFileBytes(f.folder / "plain.txt", "就是文字\n");
    const ToolRun plain = tool(f, {"text", QString::fromStdString((f.folder / "plain.txt").string())});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out, "就是文字\n");

    const ToolRun missing = tool(f, {"text", QString::fromStdString((f.folder / "missing.rtf").string())});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;

    // A damaged database: the program's own message, and the file untouched.
    test::writeFileBytes(f.databaseFile(), "damaged");
    const ToolRun damaged = tool(f, {"list"});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.err.find("加载记事内容失败！"), std::string::npos) << damaged.err;
    EXPECT_EQ(test::readFileBytes(f.databaseFile()), "damaged");
}
