#include "LunarDate.h"
#include "Reminder.h"

#include <gtest/gtest.h>

namespace tavlo::reminders {
namespace {

using lunar::CivilDate;

Reminder lunarReminder(int month, int day, bool leap = false) {
    Reminder reminder;
    reminder.kind = Reminder::Kind::Lunar;
    reminder.month = month;
    reminder.day = day;
    reminder.leap = leap;
    return reminder;
}

Reminder solarReminder(int month, int day) {
    Reminder reminder;
    reminder.month = month;
    reminder.day = day;
    return reminder;
}

// The rules lunar birthdays are kept by, on dates of the calendar in use.
TEST(Reminder, FallsWhereBirthdaysAreKeptInYearsWithoutTheDay) {
    struct Case {
        Reminder reminder;
        int year;
        std::optional<CivilDate> expected;
    };
    const Case cases[] = {
        // 腊月 of 2025 has 29 days (2026-02-16 is 除夕): a 腊月三十 birthday is kept on the 29th.
        {lunarReminder(12, 30), 2025, CivilDate{2026, 2, 16}},
        {lunarReminder(12, 29), 2025, CivilDate{2026, 2, 16}},
        // 2023 has a leap second month; 2024 has none: the ordinary second month then.
        {lunarReminder(2, 10, true), 2023, CivilDate{2023, 3, 31}},
        {lunarReminder(2, 10, false), 2023, CivilDate{2023, 3, 1}},
        {lunarReminder(2, 10, true), 2024, CivilDate{2024, 3, 19}},
        {lunarReminder(1, 1), 2026, CivilDate{2026, 2, 17}},
        // 29 February on 28 February in common years.
        {solarReminder(2, 29), 2024, CivilDate{2024, 2, 29}},
        {solarReminder(2, 29), 2025, CivilDate{2025, 2, 28}},
        {solarReminder(2, 29), 1900, CivilDate{1900, 2, 28}},
        {solarReminder(12, 31), 2026, CivilDate{2026, 12, 31}},
        {solarReminder(12, 31), 2101, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto seen = occurrenceIn(c.reminder, c.year);
        EXPECT_EQ(seen.has_value(), c.expected.has_value())
            << c.reminder.month << "-" << c.reminder.day << " " << c.year;
        if (seen && c.expected) {
            EXPECT_EQ(*seen, *c.expected) << c.reminder.month << "-" << c.reminder.day << " " << c.year << ": "
                                          << seen->Year << "-" << seen->Month << "-" << seen->Day;
        }
    }
}

// Over a century of months: a 30th falls on the 30th where the month has
// one and on its 29th where it has not, never in the next month.
TEST(Reminder, ALunarThirtiethAlwaysStaysInItsMonth) {
    for (int year = 1950; year <= 2050; ++year)
        for (int month = 1; month <= 12; ++month) {
            CivilDate thirtieth, twentyNinth;
            const bool has30 =
                lunar::convertLunarToSolar({year, month, 30, false}, thirtieth) == lunar::ConversionResult::Converted;
            ASSERT_EQ(lunar::convertLunarToSolar({year, month, 29, false}, twentyNinth),
                      lunar::ConversionResult::Converted);
            const auto seen = occurrenceIn(lunarReminder(month, 30), year);
            ASSERT_TRUE(seen) << year << "-" << month;
            EXPECT_EQ(*seen, has30 ? thirtieth : twentyNinth) << year << "-" << month;
        }
}

TEST(Reminder, OnceFallsInItsYearAloneAndOccurrencesSpanTheLunarNewYear) {
    Reminder once = solarReminder(5, 20);
    once.kind = Reminder::Kind::Once;
    once.year = 2027;
    EXPECT_EQ(occurrencesBetween(once, {2020, 1, 1}, {2030, 12, 31}), (std::vector<CivilDate>{{2027, 5, 20}}));
    // 腊月廿三 of lunar 2025 falls in 2026: a range of 2026 finds it.
    EXPECT_EQ(occurrencesBetween(lunarReminder(12, 23), {2026, 1, 1}, {2026, 12, 31}),
              (std::vector<CivilDate>{{2026, 2, 10}}));
}

TEST(Reminder, IsDueOnTheDayAndTheChosenDaysAheadOnly) {
    Reminder birthday = solarReminder(3, 10);
    birthday.daysAhead = 3;
    EXPECT_TRUE(dueOn(birthday, {2026, 3, 10}));
    EXPECT_TRUE(dueOn(birthday, {2026, 3, 7}));
    EXPECT_FALSE(dueOn(birthday, {2026, 3, 8}));
    EXPECT_FALSE(dueOn(birthday, {2026, 3, 11}));
    // Across the year's end.
    Reminder newYear = solarReminder(1, 2);
    newYear.daysAhead = 5;
    EXPECT_TRUE(dueOn(newYear, {2026, 12, 28}));
}

}  // namespace
}  // namespace tavlo::reminders
