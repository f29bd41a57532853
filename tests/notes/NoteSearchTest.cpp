// Search and the month's marks: what the plain-text index finds, and that
// it follows every change of the notes, whoever makes it.
#include "NoteSearch.h"
#include "NoteStore.h"
#include "NoteText.h"
#include "NotesError.h"
#include "NotesFixture.h"
#include "Rtf.h"
#include "Sql.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::notes;

namespace {

QByteArray rtfOf(const QString& text) {
    QTextDocument document;
    document.setPlainText(text);
    return rtf::writeRtf(document);
}

// Hits as "place<TAB>line", the way the tool prints them.
QStringList found(Connection& connection, const QString& text) {
    QStringList lines;
    for (const SearchHit& hit : searchNotes(connection, text)) {
        const QString place = hit.date.isValid()
                                  ? dayKey(hit.date)
                                  : QStringLiteral("%1%2").arg(QChar(u'A' + hit.page - 1)).arg(hit.column);
        lines << place + u'\t' + hit.line;
    }
    return lines;
}

void writeSampleNotes(TDM& dm) {
    writeDayNote(dm, QDate(2010, 6, 1), rtfOf(QStringLiteral("今天开会\n讨论 Meeting Notes\n下午去学校")));
    writeDayNote(dm, QDate(2010, 6, 2), "plain meeting, 学校放假");
    writeDayNote(dm, QDate(2009, 12, 31), rtfOf(QStringLiteral("年底 ÉCOLE 50%_done")));
    WeekTexts page;
    page[2] = rtfOf(QStringLiteral("周三开会"));
    page[5] = rtfOf(QStringLiteral("周末 meeting"));
    writeWeekPage(dm, 2, page);
}

}  // namespace

TEST(NoteSearch, FindsChineseAndLatinTextLineByLineDaysFirst) {
    test::NotesFixture f;
    writeSampleNotes(*f.dm);
    struct Case {
        const char* text;
        QStringList lines;
    };
    const Case cases[] = {
        // Two characters are below the index's three: found all the same.
        {"开会", {"20100601\t今天开会", "B3\t周三开会"}},
        {"学校", {"20100601\t下午去学校", "20100602\tplain meeting, 学校放假"}},
        {"MEETING", {"20100601\t讨论 Meeting Notes", "20100602\tplain meeting, 学校放假", "B6\t周末 meeting"}},
        {"école", {"20091231\t年底 ÉCOLE 50%_done"}},
        {"%_", {"20091231\t年底 ÉCOLE 50%_done"}},
        {"0%", {"20091231\t年底 ÉCOLE 50%_done"}},
        {"\"", {}},
        {"没有的字", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(found(f.dm->AdoCon, QString::fromUtf8(c.text)), c.lines) << c.text;
}

TEST(NoteSearch, FollowsSavesAndChangesMadeBehindItsBack) {
    test::NotesFixture f;
    writeSampleNotes(*f.dm);
    writeDayNote(*f.dm, QDate(2010, 6, 1), rtfOf(QStringLiteral("改过了")));
    EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("开会")), QStringList{"B3\t周三开会"});
    EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("改过")), QStringList{"20100601\t改过了"});

    // Another writer (an older copy of the program, a tool) changes the
    // tables directly; the next connection of the program catches up.
    f.dm.reset();
    f.sql("update UserCon set data = 'changed elsewhere' where conIndex = '20100602'");
    f.sql("insert into UserCon (conIndex, data) values ('20100603', 'added elsewhere')");
    f.sql("delete from UserCon where conIndex = '20091231'");
    f.sql("update tb_B set WednesdayCon = 'wednesday elsewhere'");
    f.dm = std::make_unique<TDM>(f.programFolder);
    EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("elsewhere")),
              (QStringList{"20100602\tchanged elsewhere", "20100603\tadded elsewhere", "B3\twednesday elsewhere"}));
    EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("ÉCOLE")), QStringList{});
    EXPECT_EQ(f.sql("select count(*) from NoteSearchStale"), "0");
    // ... and while it runs.
    f.sql("update UserCon set data = 'changed while open' where conIndex = '20100603'");
    EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("while open")), QStringList{"20100603\tchanged while open"});
    EXPECT_TRUE(searchIndexIsCurrent(f.dm->AdoCon)) << "searched without bringing the index up to date";
}

TEST(NoteSearch, AMissingOrOutdatedIndexIsRebuiltFromTheNotes) {
    const std::vector<std::pair<const char*, std::vector<const char*>>> damages = {
        {"a database from before the index", {"drop table NoteSearch", "drop table NoteSearchInfo"}},
        {"an index of another version", {"update NoteSearchInfo set version = version + 1"}},
        {"a lost trigger", {"drop trigger NoteSearchStale_UserCon_update"}},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        test::NotesFixture f;
        writeSampleNotes(*f.dm);
        f.dm.reset();
        for (const char* statement : damage) f.sql(statement);
        f.sql("update UserCon set data = 'written without the index' where conIndex = '20100602'");
        f.dm = std::make_unique<TDM>(f.programFolder);
        EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("without")), QStringList{"20100602\twritten without the index"});
        EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("开会")), (QStringList{"20100601\t今天开会", "B3\t周三开会"}));
        EXPECT_TRUE(searchIndexIsCurrent(f.dm->AdoCon));
    }
}

TEST(NoteSearch, ATriggerNamedToSmuggleSqlIsDroppedByItsNameAlone) {
    test::NotesFixture f;
    writeSampleNotes(*f.dm);
    f.dm.reset();
    // A name that, pasted unquoted into a statement, ends it and deletes the notes.
    f.sql(
        "create trigger \"NoteSearchStale_x\"\"; delete from UserCon; commit; --\" after update on tb_A begin select "
        "1; end");
    f.sql("update NoteSearchInfo set version = version + 1");  // the next start rebuilds the index
    f.dm = std::make_unique<TDM>(f.programFolder);
    EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("开会")), (QStringList{"20100601\t今天开会", "B3\t周三开会"}));
    EXPECT_EQ(f.sql("select count(*) from UserCon"), "3");
    EXPECT_EQ(f.sql("select count(*) from sqlite_master where name like '%commit%'"), "0");
    EXPECT_TRUE(searchIndexIsCurrent(f.dm->AdoCon));
    // Whatever else gets into a statement's text is refused, never run.
    EXPECT_THROW(Sql(f.dm->AdoCon.handle(), "select 1; delete from UserCon"), NotesError);
    EXPECT_EQ(f.sql("select count(*) from UserCon"), "3");
}

TEST(NoteSearch, ADamagedIndexIsMadeAnewInsteadOfFailingSaves) {
    const std::vector<std::pair<const char*, const char*>> damages = {
        {"its blocks", "update NoteSearch_data set block = randomblob(length(block))"},
        {"its queue gone", "drop table NoteSearchStale"},
    };
    for (const bool restarted : {false, true})
        for (const auto& [what, damage] : damages) {
            SCOPED_TRACE(std::string(what) + (restarted ? ", at the next start" : ", while running"));
            test::NotesFixture f;
            writeSampleNotes(*f.dm);
            if (restarted) f.dm.reset();
            f.sql(damage);
            if (restarted) f.dm = std::make_unique<TDM>(f.programFolder);
            EXPECT_NO_THROW(writeDayNote(*f.dm, QDate(2010, 6, 1), rtfOf(QStringLiteral("saved past the index"))));
            WeekColumnsToWrite column;
            column[0] = NoteToWrite{rtfOf(QStringLiteral("week saved")), std::nullopt};
            EXPECT_NO_THROW(writeWeekColumns(*f.dm, 1, column));
            EXPECT_TRUE(searchIndexIsCurrent(f.dm->AdoCon));
            EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("saved")),
                      (QStringList{"20100601\tsaved past the index", "A1\tweek saved"}));
        }
}

TEST(NoteSearch, NotesLongerThanTheIndexReadsAreSearchedWhole) {
    test::NotesFixture f;
    const QByteArray filler(kIndexedNoteBytes + 1024, 'x');
    writeDayNote(*f.dm, QDate(2010, 6, 1), filler + "\nneedle at the end");
    WeekTexts page;
    page[3] = filler + "\nneedle in a week";
    writeWeekPage(*f.dm, 4, page);
    writeDayNote(*f.dm, QDate(2010, 6, 2), "needle in a short note");
    EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("needle")),
              (QStringList{"20100601\tneedle at the end", "20100602\tneedle in a short note", "D4\tneedle in a week"}));
}

TEST(NoteSearch, AnIndexChangedByAnotherProgramIsCheckedAgainstTheNotes) {
    const std::vector<std::pair<const char*, std::vector<const char*>>> changes = {
        {"triggers dropped and made again around a change",
         {"drop trigger NoteSearchStale_UserCon_update",
          "update UserCon set data = 'changed behind its back' where conIndex = '20100602'",
          "CREATE TRIGGER NoteSearchStale_UserCon_update after update on UserCon begin insert or ignore into "
          "NoteSearchStale values (old.conIndex);insert or ignore into NoteSearchStale values (new.conIndex); end"}},
        {"rows of notes that are not there",
         {"insert into NoteSearch (rowid, plain) values (20300101, 'junk behind its back')"}},
        {"junk in its content table",
         {"update NoteSearch_content set c0 = 'junk behind its back' where id = 20100601"}},
        {"a trigger of its own changed",
         {"drop trigger NoteSearchStale_UserCon_insert",
          "create trigger NoteSearchStale_UserCon_insert after insert on UserCon begin select 1; end",
          "insert into UserCon (conIndex, data) values ('20100603', 'added behind its back')"}},
    };
    for (const bool running : {true, false})
        for (const auto& [what, statements] : changes) {
            const std::string name = what;
            // Dropped and made again before a start: nothing tells the change between.
            if (!running && name.starts_with("triggers")) continue;
            SCOPED_TRACE(name + (running ? ", while running" : ", before a start"));
            test::NotesFixture f;
            writeSampleNotes(*f.dm);
            EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("behind")), QStringList{});
            if (!running) f.dm.reset();
            for (const char* statement : statements) f.sql(statement);
            if (!running) f.dm = std::make_unique<TDM>(f.programFolder);
            QStringList expected;
            if (name.starts_with("triggers")) expected << "20100602\tchanged behind its back";
            if (name.starts_with("a trigger")) expected << "20100603\tadded behind its back";
            EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("behind")), expected);
            EXPECT_EQ(found(f.dm->AdoCon, QStringLiteral("开会")), (QStringList{"20100601\t今天开会", "B3\t周三开会"}));
        }
}

TEST(NoteSearch, ReadOnlyItReadsTheNotesWhenTheIndexIsBehindAndChangesNothing) {
    test::NotesFixture f;
    writeSampleNotes(*f.dm);
    f.dm.reset();
    f.sql("update UserCon set data = 'queued change' where conIndex = '20100602'");
    const std::string before = test::readFileBytes(f.databaseFile());
    TDM reader(f.programFolder, nullptr, Connection::Mode::ReadOnly);
    EXPECT_FALSE(searchIndexIsCurrent(reader.AdoCon));
    EXPECT_EQ(found(reader.AdoCon, QStringLiteral("queued")), QStringList{"20100602\tqueued change"});
    EXPECT_EQ(daysWithNotes(reader.AdoCon, 2010, 6), (std::vector<int>{1, 2}));
    EXPECT_EQ(test::readFileBytes(f.databaseFile()), before);
}

TEST(NoteSearch, ReadingAWalDatabaseLeavesNoFilesBehindAndWritesNothing) {
    test::NotesFixture f;
    writeSampleNotes(*f.dm);
    f.dm.reset();
    f.sql("pragma journal_mode = wal");
    {
        TDM reader(f.programFolder, nullptr, Connection::Mode::ReadOnly);
        EXPECT_EQ(found(reader.AdoCon, QStringLiteral("学校")).size(), 2);
        EXPECT_THROW(writeDayNote(reader, QDate(2010, 6, 1), "written by a reader"), NotesError);
    }
    for (const char* suffix : {"-wal", "-shm"})
        EXPECT_FALSE(std::filesystem::exists(f.databaseFile().string() + suffix)) << suffix;
    EXPECT_EQ(f.sql("select count(*) from UserCon where data = 'written by a reader'"), "0");
}

TEST(NoteSearch, MarksAreTheDaysOfTheMonthWithVisibleText) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 5, 31), "last of May");
    writeDayNote(*f.dm, QDate(2010, 6, 1), "first");
    writeDayNote(*f.dm, QDate(2010, 6, 15), rtfOf(QStringLiteral(" \n\u3000 ")));  // only white space
    writeDayNote(*f.dm, QDate(2010, 6, 16), rtfOf(QString()));                     // an emptied note
    writeDayNote(*f.dm, QDate(2010, 6, 30), rtfOf(QStringLiteral("last")));
    writeDayNote(*f.dm, QDate(2010, 7, 1), "July");
    EXPECT_EQ(daysWithNotes(f.dm->AdoCon, 2010, 6), (std::vector<int>{1, 30}));
    EXPECT_EQ(daysWithNotes(f.dm->AdoCon, 2010, 5), std::vector<int>{31});
    EXPECT_EQ(daysWithNotes(f.dm->AdoCon, 2011, 2), std::vector<int>{});
    writeDayNote(*f.dm, QDate(2010, 6, 1), rtfOf(QString()));
    writeDayNote(*f.dm, QDate(2010, 6, 16), rtfOf(QStringLiteral("now written")));
    EXPECT_EQ(daysWithNotes(f.dm->AdoCon, 2010, 6), (std::vector<int>{16, 30}));
}
