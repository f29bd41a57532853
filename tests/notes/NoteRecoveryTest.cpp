// The recovery file: what could not be saved when the program had to end,
// kept and read back whole.
#include "NoteRecovery.h"
#include "NoteStore.h"
#include "NotesFixture.h"
#include "ReadOnlyFolder.h"

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
    return {folder / "Data" / "NotesRecovery.dat", folder / "temporary" / "recovery.dat"};
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

    writeBackUnsavedNotes(*f.dm, read);
    EXPECT_EQ(readDayNote(*f.dm, QDate(2010, 6, 1)).value(), "later text");
    EXPECT_EQ(readWeekPage(*f.dm, 2), (WeekTexts{"monday", "b", "c", "d", "e", ""}));
    removeRecoveryFiles(files);
    EXPECT_TRUE(readUnsavedNotes(files).empty());
}

TEST(NoteRecovery, WithoutTheProgramFolderItGoesToTheTemporaryFolder) {
    test::TempFolder folder;
    const RecoveryFiles files = filesIn(folder);
    std::filesystem::create_directories(folder / "Data");
    test::ReadOnlyFolder locked(folder / "Data");
    if (locked.writable()) GTEST_SKIP() << "this file system cannot lock a folder";
    EXPECT_EQ(keepUnsavedNotes(files, sample()), files.inTemporaryFolder);
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
