// The stored notes: week pages and day notes as bytes.
#include "NoteStore.h"
#include "NotesError.h"
#include "NotesFixture.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::notes;

namespace {
WeekTexts numbered(const char* prefix) {
    WeekTexts texts;
    for (int i = 0; i < kWeekEditors; ++i) texts[i] = QByteArray(prefix) + QByteArray::number(i + 1);
    return texts;
}
}  // namespace

TEST(NoteStore, AFreshFolderGetsTheDatabaseWithItsTablesAndWeekRows) {
    test::NotesFixture f;
    EXPECT_FALSE(std::filesystem::exists(f.databaseFile())) << "made before it is used";
    for (int page = 1; page <= 5; ++page) {
        const WeekTexts texts = readWeekPage(*f.dm, page);
        for (const QByteArray& text : texts) EXPECT_TRUE(text.isEmpty());
    }
    for (const char* table : {"tb_A", "tb_B", "tb_C", "tb_D", "tb_E"})
        EXPECT_EQ(f.sql(std::string("select group_concat(ID) from ") + table), "1") << table;
    EXPECT_EQ(f.sql("select count(*) from UserCon"), "0");
}

TEST(NoteStore, WeekPagesKeepTheirSixTextsApart) {
    test::NotesFixture f;
    ASSERT_TRUE(writeWeekPage(*f.dm, 1, numbered("A")));
    ASSERT_TRUE(writeWeekPage(*f.dm, 5, numbered("E")));
    EXPECT_EQ(readWeekPage(*f.dm, 1), numbered("A"));
    EXPECT_EQ(readWeekPage(*f.dm, 5), numbered("E"));
    EXPECT_EQ(readWeekPage(*f.dm, 3), WeekTexts{});
    // The sixth editor holds Saturday and Sunday together.
    EXPECT_EQ(f.sql("select SaturdayCon from tb_E"), "E6");
    EXPECT_EQ(f.sql("select MondayCon from tb_E"), "E1");
}

TEST(NoteStore, AMissingWeekRowReadsEmptyAndIsNotWritten) {
    test::NotesFixture f;
    ASSERT_TRUE(writeWeekPage(*f.dm, 2, numbered("B")));
    f.sql("delete from tb_B");
    EXPECT_EQ(readWeekPage(*f.dm, 2), WeekTexts{});
    EXPECT_FALSE(writeWeekPage(*f.dm, 2, numbered("new")));
    EXPECT_EQ(f.sql("select count(*) from tb_B"), "0");
    // A new start does not bring the deleted row back either.
    f.dm = std::make_unique<TDM>(f.programFolder);
    EXPECT_FALSE(writeWeekPage(*f.dm, 2, numbered("new")));
}

TEST(NoteStore, PagesOutsideOneToFiveAreNotPages) {
    test::NotesFixture f;
    for (int page : {0, 6, -1}) {
        EXPECT_FALSE(writeWeekPage(*f.dm, page, numbered("x"))) << page;
        EXPECT_THROW(readWeekPage(*f.dm, page), NotesError) << page;
    }
}

TEST(NoteStore, ADayNoteIsAddedOnceAndThenReplaced) {
    test::NotesFixture f;
    const QDate day(2010, 6, 1);
    EXPECT_FALSE(readDayNote(*f.dm, day));
    writeDayNote(*f.dm, day, "first");
    EXPECT_EQ(f.sql("select conIndex from UserCon"), "20100601");
    writeDayNote(*f.dm, day, "second");
    EXPECT_EQ(f.sql("select count(*) from UserCon"), "1");
    EXPECT_EQ(readDayNote(*f.dm, day).value(), "second");
    EXPECT_FALSE(readDayNote(*f.dm, day.addDays(1)));
    writeDayNote(*f.dm, QDate(9, 1, 9), "");
    EXPECT_EQ(readDayNote(*f.dm, QDate(9, 1, 9)).value(), "");
    EXPECT_EQ(dayNoteKeys(*f.dm), (QStringList{"00090109", "20100601"}));
}

TEST(NoteStore, DayKeys) {
    struct Case {
        QDate date;
        const char* key;
    };
    for (const Case& c : {Case{{2010, 6, 1}, "20100601"}, Case{{2011, 1, 9}, "20110109"}, Case{{1, 1, 1}, "00010101"},
                          Case{{2100, 12, 31}, "21001231"}}) {
        EXPECT_EQ(dayKey(c.date), c.key);
        EXPECT_EQ(dateOfKey(c.key), c.date);
    }
    for (const char* bad : {"2010061", "201006011", "2010-6-1", "20101301", "20100230", "２０１００６０１"})
        EXPECT_FALSE(dateOfKey(QString::fromUtf8(bad)).isValid()) << bad;
}
