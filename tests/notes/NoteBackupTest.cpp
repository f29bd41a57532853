// Backups: the rotation, copies made while the program writes, and restores
// that check before they touch anything.
#include "FileError.h"
#include "FileSizeCap.h"
#include "NoteBackup.h"
#include "NoteSearch.h"
#include "NoteStore.h"
#include "NotesError.h"
#include "NotesFixture.h"

#include <gtest/gtest.h>

#include <set>

#include <sys/stat.h>

using namespace tavlo;
using namespace tavlo::notes;

namespace {

std::vector<QDate> days(const QDate& last, int count) {
    std::vector<QDate> dates;
    for (int i = 0; i < count; ++i) dates.push_back(last.addDays(-i));
    return dates;
}

std::set<std::string> filesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

const QDateTime kNow(QDate(2026, 1, 12), QTime(8, 30, 5));

// The day note as a database file holds it, read through a program folder
// of its own.
std::optional<QByteArray> dayNoteIn(const std::filesystem::path& database, const QDate& date) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder / "Data");
    std::filesystem::copy_file(database, ProgramFolder(folder.path()).path(TDM::kDatabaseName));
    TDM dm(ProgramFolder(folder.path()), nullptr, Connection::Mode::ReadOnly);
    return readDayNote(dm, date);
}

}  // namespace

TEST(NoteBackup, TheRotationKeepsSevenDaysAndThenOnePerWeekForFourWeeks) {
    const QDate sunday(2026, 1, 11);
    // Used every day for two months: the last seven days, then the newest
    // day of each of the four weeks before them.
    std::vector<QDate> keep = backupsToKeep(days(sunday, 60));
    std::vector<QDate> expected = days(sunday, 7);
    for (const QDate& d : {QDate(2026, 1, 4), QDate(2025, 12, 28), QDate(2025, 12, 21), QDate(2025, 12, 14)})
        expected.push_back(d);
    EXPECT_EQ(keep, expected);
    // Used now and then: fewer days than the rotation keeps lose nothing.
    const std::vector<QDate> sparse = {QDate(2025, 3, 1), QDate(2025, 9, 9), QDate(2026, 1, 2)};
    EXPECT_EQ(backupsToKeep(sparse).size(), 3u);
    EXPECT_TRUE(backupsToKeep({}).empty());
}

TEST(NoteBackup, ADailyBackupOncePerDayAndOldOnesRotatedAway) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "kept in every backup");
    const std::filesystem::path folder = rotatingBackupFolder(f.databaseFile());
    std::filesystem::create_directories(folder);
    for (const QDate& old : days(QDate(2025, 12, 31), 40))
        test::writeFileBytes(folder / ("Notes-" + old.toString("yyyyMMdd").toStdString() + ".db"), "old");
    test::writeFileBytes(folder / "mine.db", "the user's own file");

    const QDate today(2026, 1, 12);
    const auto made = makeDailyBackup(f.dm->AdoCon, folder, today);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->filename(), "Notes-20260112.db");
    EXPECT_FALSE(makeDailyBackup(f.dm->AdoCon, folder, today)) << "a second backup the same day";
    // Today and the six newest days, then the newest of each of four weeks.
    EXPECT_EQ(filesIn(folder),
              (std::set<std::string>{"Notes-20260112.db", "Notes-20251231.db", "Notes-20251230.db", "Notes-20251229.db",
                                     "Notes-20251228.db", "Notes-20251227.db", "Notes-20251226.db", "Notes-20251225.db",
                                     "Notes-20251221.db", "Notes-20251214.db", "Notes-20251207.db", "mine.db"}));
    EXPECT_EQ(dayNoteIn(*made, QDate(2010, 6, 1)), "kept in every backup");

    // The clock set back a year: the newer backups stay, and so does today's.
    const QDate yearBefore(2025, 1, 12);
    EXPECT_TRUE(makeDailyBackup(f.dm->AdoCon, folder, yearBefore));
    EXPECT_TRUE(filesIn(folder).contains("Notes-20250112.db"));
    EXPECT_TRUE(filesIn(folder).contains("Notes-20260112.db"));
}

TEST(NoteBackup, ABackupRestoresEverythingAndTheReplacedDatabaseIsKept) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "before the backup");
    writeWeekPage(*f.dm, 3, {"c1", "c2", "c3", "c4", "c5", "c6"});
    const auto backup = f.folder / "backup.db";
    backupDatabase(f.dm->AdoCon, backup);
    writeDayNote(*f.dm, QDate(2010, 6, 1), "after the backup");
    writeDayNote(*f.dm, QDate(2010, 6, 2), "only after");

    // Restored while the program has the database open: it sees the backup.
    const auto kept = restoreDatabase(f.databaseFile(), backup, f.folder / "kept", kNow);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->filename(), "Notes-before-restore-20260112-083005.db");
    EXPECT_EQ(readDayNote(*f.dm, QDate(2010, 6, 1)).value(), "before the backup");
    EXPECT_FALSE(readDayNote(*f.dm, QDate(2010, 6, 2)));
    EXPECT_EQ(readWeekPage(*f.dm, 3)[5], "c6");
    EXPECT_EQ(dayNoteIn(*kept, QDate(2010, 6, 2)), "only after");

    // A second restore in the same second keeps the database it replaces too.
    writeDayNote(*f.dm, QDate(2010, 6, 3), "between the restores");
    const auto keptAgain = restoreDatabase(f.databaseFile(), backup, f.folder / "kept", kNow);
    ASSERT_TRUE(keptAgain);
    EXPECT_NE(*keptAgain, *kept);
    EXPECT_EQ(dayNoteIn(*kept, QDate(2010, 6, 2)), "only after");
    EXPECT_EQ(dayNoteIn(*keptAgain, QDate(2010, 6, 3)), "between the restores");
}

TEST(NoteBackup, ADamagedOrForeignBackupIsRefusedBeforeAnythingIsTouched) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "current");
    f.dm.reset();
    const auto good = f.folder / "good.db";
    {
        TDM dm(f.programFolder);
        backupDatabase(dm.AdoCon, good);
    }
    const std::string goodBytes = test::readFileBytes(good);
    // The day's key changed in the table but not in its index: SQLite reads
    // the file, only its integrity check sees the damage.
    std::string unindexed = goodBytes;
    const auto key = unindexed.find("20100601");
    ASSERT_NE(key, std::string::npos);
    unindexed[key + 7] = '2';
    const std::vector<std::pair<const char*, std::string>> backups = {
        {"a table that does not match its index", unindexed},
        {"text", "not a database"},
        {"cut short", goodBytes.substr(0, goodBytes.size() / 2)},
        {"a damaged page", goodBytes.substr(0, 4096) + std::string(goodBytes.size() - 4096, '\x5a')},
    };
    const std::string current = test::readFileBytes(f.databaseFile());
    for (const auto& [what, bytes] : backups) {
        SCOPED_TRACE(what);
        const auto file = f.folder / "candidate.db";
        test::writeFileBytes(file, bytes);
        EXPECT_THROW(restoreDatabase(f.databaseFile(), file, f.folder / "kept", kNow), FileError);
        EXPECT_EQ(test::readFileBytes(f.databaseFile()), current);
        EXPECT_FALSE(std::filesystem::exists(f.folder / "kept"));
    }
    // Another program's database, and no file at all.
    const auto foreign = f.folder / "foreign.db";
    {
        test::NotesFixture other;
        test::writeFileBytes(other.databaseFile(), "");
        other.sql("create table contacts (name text)");
        std::filesystem::copy_file(other.databaseFile(), foreign);
    }
    try {
        restoreDatabase(f.databaseFile(), foreign, f.folder / "kept", kNow);
        ADD_FAILURE() << "restored another program's database";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("不是记事数据库"), std::string::npos) << e.what();
    }
    EXPECT_THROW(restoreDatabase(f.databaseFile(), f.folder / "none.db", f.folder / "kept", kNow), FileError);
    EXPECT_EQ(test::readFileBytes(f.databaseFile()), current);
}

TEST(NoteBackup, ADatabaseTooDamagedToOpenIsReplacedAsAFileAndKept) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "from the backup");
    const auto backup = f.folder / "backup.db";
    backupDatabase(f.dm->AdoCon, backup);
    f.dm.reset();
    test::writeFileBytes(f.databaseFile(), "damaged");
    const auto kept = restoreDatabase(f.databaseFile(), backup, f.folder / "kept", kNow);
    ASSERT_TRUE(kept);
    EXPECT_EQ(test::readFileBytes(*kept), "damaged");
    TDM dm(f.programFolder);
    EXPECT_EQ(readDayNote(dm, QDate(2010, 6, 1)).value(), "from the backup");
}

TEST(NoteBackup, ABackupToAPlaceThatCannotBeWrittenFailsAndLeavesNothing) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "note");
    test::writeFileBytes(f.folder / "a file", "");
    const std::string before = test::readFileBytes(f.databaseFile());
    for (const auto& target : {f.folder / "a file" / "backup.db", f.folder / "no folder" / "backup.db"}) {
        SCOPED_TRACE(target.string());
        try {
            backupDatabase(f.dm->AdoCon, target);
            ADD_FAILURE() << "no failure";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos) << e.what();
        }
    }
    // A disk that fills up in the middle of the copy: the part written is
    // removed again.
    writeDayNote(*f.dm, QDate(2010, 6, 2), QByteArray(256 * 1024, 'n'));
    const std::string larger = test::readFileBytes(f.databaseFile());
    {
        test::FileSizeCap full(64 * 1024);
        EXPECT_THROW(backupDatabase(f.dm->AdoCon, f.folder / "backup.db"), FileError);
    }
    EXPECT_EQ(test::readFileBytes(f.databaseFile()), larger);
    EXPECT_EQ(filesIn(f.folder.path()), (std::set<std::string>{"Data", "a file"}));
}

TEST(NoteBackup, NotesTablesOfOtherShapesAreRefused) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "current");
    const std::string current = test::readFileBytes(f.databaseFile());
    const std::vector<std::pair<const char*, const char*>> changes = {
        {"other columns", "drop table UserCon; create table UserCon (conIndex text, other text)"},
        {"a virtual table", "drop table UserCon; create virtual table UserCon using fts5(conIndex, data)"},
        {"a column of another type",
         "drop table tb_C; create table tb_C (ID text, MondayCon blob, TuesdayCon blob,"
         " WednesdayCon blob, ThursdayCon blob, FridayCon blob, SaturdayCon blob)"},
        {"a generated column",
         "drop table tb_B; create table tb_B (ID integer, MondayCon blob, TuesdayCon blob,"
         " WednesdayCon blob, ThursdayCon blob, FridayCon blob, SaturdayCon blob,"
         " extra as (ID + 1))"},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        test::NotesFixture other;
        writeDayNote(*other.dm, QDate(2010, 6, 1), "from the backup");
        other.dm.reset();
        for (const QString& statement : QString::fromLatin1(change).split(u';')) other.sql(statement.toStdString());
        EXPECT_THROW(restoreDatabase(f.databaseFile(), other.databaseFile(), f.folder / "kept", kNow), FileError);
        EXPECT_EQ(test::readFileBytes(f.databaseFile()), current);
    }
}

TEST(NoteBackup, ARestoreBringsInNoTriggerViewOrDamagedIndexOfTheBackup) {
    test::NotesFixture f;
    const auto backup = f.folder / "backup.db";
    {
        test::NotesFixture other;
        writeDayNote(*other.dm, QDate(2010, 6, 1), "kept note");
        writeDayNote(*other.dm, QDate(2010, 6, 2), "restored note");
        other.dm.reset();
        other.sql("create trigger wipe after update on UserCon begin delete from UserCon; end");
        other.sql("create trigger NoteSearchStale_UserCon_insert2 after insert on UserCon begin delete from tb_A; end");
        other.sql("create view NoteSearchView as select * from UserCon");
        // Damaged in a way the database's own integrity check does not see.
        other.sql("update NoteSearch_data set block = randomblob(length(block))");
        std::filesystem::copy_file(other.databaseFile(), backup);
    }
    writeDayNote(*f.dm, QDate(2011, 1, 1), "replaced by the backup");
    ASSERT_TRUE(restoreDatabase(f.databaseFile(), backup, f.folder / "kept", kNow));
    EXPECT_EQ(f.sql("select group_concat(name) from sqlite_master where type = 'view'"
                    " or name in ('wipe', 'NoteSearchStale_UserCon_insert2')"),
              "");
    // The program saves, and finds, as before.
    writeDayNote(*f.dm, QDate(2010, 6, 2), "changed after the restore");
    writeDayNote(*f.dm, QDate(2010, 6, 3), "added after the restore");
    EXPECT_EQ(readDayNote(*f.dm, QDate(2010, 6, 1)).value(), "kept note");
    EXPECT_EQ(f.sql("select count(*) from UserCon"), "3");
    EXPECT_EQ(f.sql("select count(*) from tb_A"), "1");
    ASSERT_TRUE(searchIndexIsCurrent(f.dm->AdoCon));
    EXPECT_EQ(searchNotes(f.dm->AdoCon, QStringLiteral("kept note")).size(), 1u);
}

TEST(NoteBackup, ABackupNeverReplacesWhatIsNotARegularFile) {
    test::NotesFixture f;
    writeDayNote(*f.dm, QDate(2010, 6, 1), "note");
    const auto fifo = f.folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto elsewhere = f.folder / "elsewhere";
    test::writeFileBytes(elsewhere, "someone's file");
    const auto link = f.folder / "link.db";
    std::filesystem::create_symlink(elsewhere, link);
    for (const auto& target : {fifo, link, f.folder / "Data"}) {
        SCOPED_TRACE(target.string());
        const auto type = std::filesystem::symlink_status(target).type();
        EXPECT_THROW(backupDatabase(f.dm->AdoCon, target), FileError);
        EXPECT_EQ(std::filesystem::symlink_status(target).type(), type);
    }
    EXPECT_EQ(test::readFileBytes(elsewhere), "someone's file");
}
