// The recovery file: what could not be saved when the program had to end,
// kept and read back whole.
#include "FileError.h"
#include "NoteRecovery.h"
#include "NoteStore.h"
#include "NotesFixture.h"
#include "ReadOnlyFolder.h"
#include "SecondAccount.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::notes;

namespace {

UnsavedNotes sample() {
    UnsavedNotes notes;
    notes.days.push_back({QDate(2010, 6, 1), "{\\rtf1 day\nwith a line break}"});
    UnsavedNotes::Week week{2, {}};
    week.columns[0] = QByteArray("monday");
    week.columns[5] = QByteArray();  // an emptied column is written too
    notes.weeks.push_back(week);
    return notes;
}

RecoveryFiles filesIn(const test::TempFolder& folder) {
    return {folder / "Data" / "NotesRecovery.dat", folder / "private" / "recovery.dat"};
}

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}  // namespace

TEST(NoteRecovery, UnsavedNotesAreKeptAndWrittenBackInOrder) {
    test::NotesFixture f;
    writeWeekPage(*f.dm, 2, {"a", "b", "c", "d", "e", "f"});
    const RecoveryFiles files = filesIn(f.folder);
    EXPECT_EQ(keepUnsavedNotes(files, sample()), files.inProgramFolder);
    UnsavedNotes later;
    later.days.push_back({QDate(2010, 6, 1), "later text"});
    keepUnsavedNotes(files, later);

    const UnsavedNotes read = readUnsavedNotes(files);
    ASSERT_EQ(read.days.size(), 2u);
    EXPECT_EQ(read.days[0].text, sample().days[0].text);
    ASSERT_EQ(read.weeks.size(), 1u);
    EXPECT_EQ(read.weeks[0].columns, sample().weeks[0].columns);

    writeDayNote(*f.dm, QDate(2010, 6, 1), "the note it replaces");
    const QDateTime now(QDate(2026, 1, 12), QTime(8, 30, 5));
    const auto kept = writeBackUnsavedNotes(*f.dm, read, f.folder / "kept", now);
    EXPECT_EQ(readDayNote(*f.dm, QDate(2010, 6, 1)).value(), "later text");
    // What it replaced is kept first, each time under a name of its own.
    EXPECT_NE(test::readFileBytes(kept).find("the note it replaces"), std::string::npos);
    EXPECT_NE(writeBackUnsavedNotes(*f.dm, read, f.folder / "kept", now), kept);
    EXPECT_EQ(readWeekPage(*f.dm, 2), (WeekTexts{"monday", "b", "c", "d", "e", ""}));
    removeRecoveryFiles(files);
    EXPECT_TRUE(readUnsavedNotes(files).empty());
}

TEST(NoteRecovery, WithoutTheProgramFolderItGoesToThePrivateFolder) {
    test::TempFolder folder;
    const RecoveryFiles files = filesIn(folder);
    std::filesystem::create_directories(folder / "Data");
    test::ReadOnlyFolder locked(folder / "Data");
    if (locked.writable()) GTEST_SKIP() << "this file system cannot lock a folder";
    EXPECT_EQ(keepUnsavedNotes(files, sample()), files.inPrivateFolder);
    EXPECT_EQ(readUnsavedNotes(files).days.size(), 1u);
}

TEST(NoteRecovery, AFileCutShortGivesTheRecordsBeforeTheCut) {
    test::TempFolder folder;
    const RecoveryFiles files = filesIn(folder);
    keepUnsavedNotes(files, sample());
    const std::string whole = test::readFileBytes(files.inProgramFolder);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        test::writeFileBytes(files.inProgramFolder, whole.substr(0, cut));
        const UnsavedNotes read = readUnsavedNotes(files);
        // The day record comes first: whole or not at all, never torn.
        for (const auto& day : read.days) EXPECT_EQ(day.text, sample().days[0].text) << cut;
        EXPECT_TRUE(read.weeks.empty()) << cut;
    }
    // A damaged size: the record does not end where it says, and is left out.
    std::string damaged = whole;
    const auto size = damaged.find(' ', damaged.find("day ") + 4) + 1;
    damaged.replace(size, damaged.find('\n', size) - size, "3");
    test::writeFileBytes(files.inProgramFolder, damaged);
    EXPECT_TRUE(readUnsavedNotes(files).empty());
}

TEST(NoteRecovery, RecoveryFilesAreTheUsersOnlyAndNothingPlantedIsUsed) {
    test::TempFolder folder;
    const RecoveryFiles files = filesIn(folder);
    std::filesystem::create_directories(folder / "Data");
    std::filesystem::create_directories(folder / "private");
    ::chmod((folder / "private").c_str(), 0777);
    std::filesystem::create_directory(folder / "elsewhere");
    const auto target = folder / "elsewhere" / "someone's.txt";
    test::writeFileBytes(target, "not the notes");
    std::filesystem::create_symlink(target, files.inProgramFolder);
    EXPECT_TRUE(readUnsavedNotes(files).empty());
    // A link at the name is replaced, never written through.
    EXPECT_EQ(keepUnsavedNotes(files, sample()), files.inProgramFolder);
    EXPECT_EQ(test::readFileBytes(target), "not the notes");
    EXPECT_FALSE(std::filesystem::is_symlink(files.inProgramFolder));
    EXPECT_EQ(modeOf(files.inProgramFolder), 0600u);
    {
        test::ReadOnlyFolder locked(folder / "Data");
        if (locked.writable()) GTEST_SKIP() << "this file system cannot lock a folder";
        EXPECT_EQ(keepUnsavedNotes(files, sample()), files.inPrivateFolder);
    }
    EXPECT_EQ(modeOf(files.inPrivateFolder), 0600u);
    EXPECT_EQ(modeOf(folder / "private"), 0700u);

    // Another account's file in the user's place is not offered.
    test::SecondAccount other;
    if (!other.available()) GTEST_SKIP() << "no second account to own a file";
    removeRecoveryFiles(files);
    const RecoveryFiles planted = filesIn(folder);
    keepUnsavedNotes(planted, sample());
    ASSERT_EQ(::chown(planted.inProgramFolder.c_str(), other.uid(), other.gid()), 0);
    EXPECT_TRUE(readUnsavedNotes(planted).empty());
}

TEST(NoteRecovery, APrivateFolderThatIsALinkOrAnotherAccountsIsNotUsed) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "shared");
    std::filesystem::create_symlink(folder / "shared", folder / "private");
    const RecoveryFiles files = filesIn(folder);
    std::filesystem::create_directories(folder / "Data");
    test::ReadOnlyFolder locked(folder / "Data");
    if (locked.writable()) GTEST_SKIP() << "this file system cannot lock a folder";
    EXPECT_THROW(keepUnsavedNotes(files, sample()), FileError);
    EXPECT_TRUE(std::filesystem::is_empty(folder / "shared"));
}
