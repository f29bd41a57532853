// tavlo-notes as a user runs it, over a program folder with notes in it.
#include "Gb18030.h"
#include "NoteBackup.h"
#include "NoteStore.h"
#include "NotesFixture.h"

#include <QProcess>
#include <QRegularExpression>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace tavlo;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

// Where the tool's standard output goes.
enum class Output { Captured, DevFull, Closed };

ToolRun toolIn(const QString& folder, const QStringList& args, Output output = Output::Captured) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");  // the messages are Chinese whatever the locale
    process.setProcessEnvironment(environment);
    if (output == Output::DevFull) process.setStandardOutputFile("/dev/full");
    if (output == Output::Closed) process.setChildProcessModifier([] { ::close(1); });
    process.start(TAVLO_NOTES_TOOL, QStringList{"--folder", folder} + args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

ToolRun tool(const test::NotesFixture& f, const QStringList& args, Output output = Output::Captured) {
    return toolIn(QString::fromStdString(f.folder.path().string()), args, output);
}

QString pathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// An error as the tool reports it: one line, its own name first, and in
// Chinese (no English word of three letters or more after the name, the
// files it names in quotes aside).
void expectOneChineseLine(const ToolRun& run, const char* cause) {
    SCOPED_TRACE(run.err);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
    EXPECT_EQ(run.err.rfind("tavlo-notes: ", 0), 0u);
    EXPECT_NE(run.err.find(cause), std::string::npos);
    const QString message = QString::fromStdString(run.err.substr(13));
    static const QRegularExpression englishWord(QStringLiteral("(^|[^A-Za-z./_-])[A-Za-z]{3,}($|[^A-Za-z./_-])"));
    QString withoutPaths = message;
    withoutPaths.remove(QRegularExpression(QStringLiteral("“[^”]*”")));
    EXPECT_FALSE(englishWord.match(withoutPaths).hasMatch()) << withoutPaths.toStdString();
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
        {{"show", "2011-1-9"}, 2, ""},
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
    EXPECT_NE(damaged.err.find("文件不是数据库"), std::string::npos) << damaged.err;
    EXPECT_EQ(test::readFileBytes(f.databaseFile()), "damaged");
}

TEST(NotesTool, SearchPrintsEachMatchingLineWithItsPlace) {
    test::NotesFixture f;
    notes::writeDayNote(*f.dm, QDate(2010, 6, 1),
                        "{\\rtf1\\ansi \\u20170?\\u22825?\\u24320?\\u20250?\\par Second Meeting}");
    notes::writeDayNote(*f.dm, QDate(2011, 1, 9), "meeting again");
    notes::writeWeekPage(*f.dm, 3, {"", "", "", "", "", "周末开会"});
    struct Case {
        const char* text;
        int exitCode;
        const char* out;
    };
    const Case cases[] = {
        {"开会", 0, "20100601\t今天开会\nC周六/日\t周末开会\n"},
        {"MEETING", 0, "20100601\tSecond Meeting\n20110109\tmeeting again\n"},
        {"没有这几个字", 1, ""},
    };
    for (const Case& c : cases) {
        const ToolRun r = tool(f, {"search", QString::fromUtf8(c.text)});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.text << r.err;
        EXPECT_EQ(r.out, c.out) << c.text;
    }
    expectOneChineseLine(tool(f, {"search", "没有这几个字"}), "没有找到");
}

TEST(NotesTool, ReadCommandsCreateNothingAndRefuseWhatIsNotANotesDatabase) {
    test::TempFolder place;
    for (const QStringList& args :
         {QStringList{"list"}, QStringList{"show", "20100601"}, QStringList{"search", "x"},
          QStringList{"backup", pathText(place / "b.db")}, QStringList{"export-all", pathText(place / "all")}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        expectOneChineseLine(toolIn(pathText(place / "nonexistent" / "x"), args), "没有找到记事数据库");
        EXPECT_EQ(toolIn(QString(), args).exitCode, 2);  // an empty folder is no folder
    }
    EXPECT_FALSE(std::filesystem::exists(place / "nonexistent"));
    EXPECT_FALSE(std::filesystem::exists("Data/Notes.db"));
    EXPECT_TRUE(std::filesystem::is_empty(place.path()));

    // Another program's SQLite file: refused, byte for byte as it was.
    test::NotesFixture f;
    test::writeFileBytes(f.databaseFile(), "");
    f.sql("create table contacts (name text)");
    const std::string before = test::readFileBytes(f.databaseFile());
    for (const QStringList& args : {QStringList{"list"}, QStringList{"show", "20100601"}, QStringList{"search", "x"}})
        expectOneChineseLine(tool(f, args), "不是记事数据库");
    EXPECT_EQ(test::readFileBytes(f.databaseFile()), before);
}

TEST(NotesTool, WritesThatFailAreReportedNotLost) {
    test::NotesFixture f;
    notes::writeDayNote(*f.dm, QDate(2010, 6, 1), "note");
    for (const QStringList& args :
         {QStringList{"list"}, QStringList{"show", "20100601"}, QStringList{"search", "note"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        expectOneChineseLine(tool(f, args, Output::DevFull), "磁盘空间不足");
        expectOneChineseLine(tool(f, args, Output::Closed), "标准输出已关闭");
    }
    const auto text = f.folder / "note.txt";
    test::writeFileBytes(text, "text");
    expectOneChineseLine(tool(f, {"text", pathText(text)}, Output::DevFull), "磁盘空间不足");
    expectOneChineseLine(tool(f, {"text", pathText(f.folder / "missing.rtf")}), "文件不存在");
}

TEST(NotesTool, BackupRestoreAndExportAll) {
    test::NotesFixture f;
    notes::writeDayNote(*f.dm, QDate(2010, 6, 1), "在备份里");
    const auto backup = f.folder / "backup.db";
    ToolRun r = tool(f, {"backup", pathText(backup)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    notes::writeDayNote(*f.dm, QDate(2010, 6, 1), "备份之后");
    const std::string current = test::readFileBytes(f.databaseFile());

    // A backup to a place that cannot be written, a damaged backup: refused,
    // the database untouched.
    test::writeFileBytes(f.folder / "file", "");
    expectOneChineseLine(tool(f, {"backup", pathText(f.folder / "file" / "b.db")}), "不是文件夹");
    test::writeFileBytes(f.folder / "damaged.db", test::readFileBytes(backup).substr(0, 3000));
    expectOneChineseLine(tool(f, {"restore", pathText(f.folder / "damaged.db")}), "读取备份文件");
    EXPECT_EQ(test::readFileBytes(f.databaseFile()), current);

    r = tool(f, {"restore", pathText(backup)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(notes::readDayNote(*f.dm, QDate(2010, 6, 1)).value(), "在备份里");
    EXPECT_NE(r.out.find("Notes-before-restore-"), std::string::npos) << r.out;
    // Restoring makes a database only in a program folder.
    test::TempFolder elsewhere;
    expectOneChineseLine(toolIn(pathText(elsewhere / "x"), {"restore", pathText(backup)}), "不是程序文件夹");
    EXPECT_FALSE(std::filesystem::exists(elsewhere / "x"));

    r = tool(f, {"export-all", pathText(f.folder / "all"), "--encoding", "gb18030"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::readFileBytes(f.folder / "all" / "20100601.txt"), utf8ToGb18030("在备份里\r\n"));
    EXPECT_EQ(tool(f, {"export-all", pathText(f.folder / "x"), "--encoding", "latin1"}).exitCode, 2);
    EXPECT_EQ(tool(f, {"list", "--encoding", "utf-8"}).exitCode, 2);
}
