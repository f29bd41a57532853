// The reminders kept in the notes database: what is kept reads back, what
// no rule reads is refused, and they travel with the notes' backups.
#include "Connection.h"
#include "NotesError.h"
#include "ReminderStore.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tavlo::reminders {
namespace {

namespace fs = std::filesystem;

Reminder make(Reminder::Kind kind, int month, int day, const std::string& title) {
    Reminder reminder;
    reminder.kind = kind;
    reminder.month = month;
    reminder.day = day;
    reminder.title = title;
    return reminder;
}

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char chunk[4096];
        for (std::size_t n; (n = fread(chunk, 1, sizeof(chunk), pipe)) > 0;) output.append(chunk, n);
        pclose(pipe);
    }
    return output;
}

TEST(ReminderStore, KeepsListsAndRemovesReminders) {
    test::TempFolder folder;
    notes::Connection connection(folder / "Notes.db");
    ReminderStore store(connection);
    EXPECT_TRUE(store.all().empty());

    Reminder birthday = make(Reminder::Kind::Lunar, 2, 10, "外婆生日");
    birthday.leap = true;
    birthday.daysAhead = 7;
    birthday.note = "打电话；带\"寿桃\"";
    const std::int64_t first = store.add(birthday);
    Reminder once = make(Reminder::Kind::Once, 5, 20, "体检");
    once.year = 2027;
    const std::int64_t second = store.add(once);
    EXPECT_NE(first, second);

    birthday.id = first;
    once.id = second;
    EXPECT_EQ(store.all(), (std::vector<Reminder>{birthday, once}));
    EXPECT_TRUE(store.remove(first));
    EXPECT_FALSE(store.remove(first));
    EXPECT_EQ(store.all(), std::vector<Reminder>{once});
}

TEST(ReminderStore, RefusesWhatNoRuleReads) {
    test::TempFolder folder;
    notes::Connection connection(folder / "Notes.db");
    ReminderStore store(connection);
    Reminder untitled = make(Reminder::Kind::Solar, 3, 10, "");
    Reminder thirteenth = make(Reminder::Kind::Lunar, 13, 1, "x");
    Reminder thirtyFirst = make(Reminder::Kind::Lunar, 1, 31, "x");
    Reminder leapSolar = make(Reminder::Kind::Solar, 3, 10, "x");
    leapSolar.leap = true;
    Reminder farAhead = make(Reminder::Kind::Solar, 3, 10, "x");
    farAhead.daysAhead = 31;
    Reminder noSuchDay = make(Reminder::Kind::Once, 2, 29, "x");
    noSuchDay.year = 2026;
    for (const Reminder& bad : {untitled, thirteenth, thirtyFirst, leapSolar, farAhead, noSuchDay})
        EXPECT_THROW(store.add(bad), notes::NotesError);
    EXPECT_TRUE(store.all().empty());
    EXPECT_NO_THROW(store.add(make(Reminder::Kind::Solar, 2, 29, "闰日")));
}

// A backup of the notes carries the reminders; a restore brings them back.
TEST(ReminderStore, RemindersTravelWithTheNotesBackup) {
    test::TempFolder folder;
    const fs::path a = folder / "a", b = folder / "b", backup = folder / "backup.db";
    const std::string cal = "'" TAVLO_CAL_TOOL "' --folder ", notesTool = "'" TAVLO_NOTES_TOOL "' --folder ";
    EXPECT_EQ(run(cal + "'" + a.string() + "' remind add 妈妈生日 --lunar 12-30 --ahead 3"),
              "已添加提醒 1：妈妈生日（农历每年 12-30）\n");
    run(notesTool + "'" + a.string() + "' backup '" + backup.string() + "'");
    run(cal + "'" + b.string() + "' remind add 别的 --solar 1-1");
    run(notesTool + "'" + b.string() + "' restore '" + backup.string() + "'");
    EXPECT_EQ(run(cal + "'" + b.string() + "' remind list"), "1\t农历每年 12-30\t妈妈生日\t提前 3 天\n");
    EXPECT_EQ(run(cal + "'" + b.string() + "' remind due 2026-02-13"), "妈妈生日\n");
    EXPECT_EQ(run(cal + "'" + b.string() + "' remind due 2026-02-14"), "");
    // Expanded over the years an export asks for, one event a year.
    const std::string ics = run(cal + "'" + b.string() + "' ics --from 2026 --years 2 --what reminders");
    EXPECT_NE(ics.find("UID:reminder-1-20260216@tavlo\r\n"), std::string::npos) << ics;
    EXPECT_EQ(ics.find("BEGIN:VEVENT", ics.find("BEGIN:VEVENT", ics.find("BEGIN:VEVENT") + 1) + 1), std::string::npos);
    EXPECT_NE(ics.find("BEGIN:VEVENT", ics.find("BEGIN:VEVENT") + 1), std::string::npos);
}

}  // namespace
}  // namespace tavlo::reminders
