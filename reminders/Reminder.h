#pragma once
// A reminder of a date that comes back: yearly on a lunar or a solar date, or
// once. Plain C++ over the calendar engine.
#include "CivilCalendar.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavlo::reminders {

struct Reminder {
    enum class Kind { Lunar, Solar, Once };
    std::int64_t id = 0;
    std::string title;
    std::string note;
    Kind kind = Kind::Solar;
    int year = 0;       // Once only
    int month = 0;      // 1..12
    int day = 0;        // 1..30 (lunar), 1..31 (solar)
    bool leap = false;  // Lunar: the leap month of that number
    int daysAhead = 0;  // 0..30: also reminded that many days before
    friend bool operator==(const Reminder&, const Reminder&) = default;
};

// Where the reminder falls in `year` (the lunar year for a lunar reminder,
// the civil year otherwise), as real birthdays are kept: a lunar 30th in a
// month of 29 days falls on the 29th; a leap-month date in a year without
// that leap month falls in the ordinary month; 29 February falls on
// 28 February in a common year. nullopt where it does not fall that year
// (a date once, in another year; a year outside the engine's range).
std::optional<lunar::CivilDate> occurrenceIn(const Reminder& reminder, int year);

// Its civil dates from `first` to `last`, both included, in order.
std::vector<lunar::CivilDate> occurrencesBetween(const Reminder& reminder, const lunar::CivilDate& first,
                                                 const lunar::CivilDate& last);

// Whether the reminder is to be told on `day`: on an occurrence, and
// `daysAhead` days before one.
bool dueOn(const Reminder& reminder, const lunar::CivilDate& day);

}  // namespace tavlo::reminders
