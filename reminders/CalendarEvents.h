#pragma once
// The calendar as a list of all-day events, for other calendar programs: the
// festivals, the 24 solar terms, the official rest days and make-up workdays,
// and the reminders, each with an identity that stays the same from one
// export to the next.
#include "CivilCalendar.h"
#include "HolidayTable.h"
#include "Reminder.h"

#include <string>
#include <vector>

namespace tavlo::reminders {

struct CalendarEvent {
    lunar::CivilDate date;
    std::string summary;
    std::string category;     // "节日", "节气", "放假", "调休上班", "提醒"
    std::string description;  // may be empty
    std::string uid;
    friend bool operator==(const CalendarEvent&, const CalendarEvent&) = default;
};

// What goes into the calendar.
struct EventKinds {
    bool festivals = true, terms = true, holidays = true, reminders = true;
    // From a comma-separated list of "festivals", "terms", "holidays",
    // "reminders"; false when it names anything else.
    static bool parse(const std::string& list, EventKinds& out);
};

// "YYYYMMDD", as identities and iCalendar dates write a day.
std::string compactDate(const lunar::CivilDate& date);

// The events of the civil years first .. first + years - 1, by date.
std::vector<CalendarEvent> calendarEvents(int first, int years, const EventKinds& kinds,
                                          const holidays::HolidayTable& table, const std::vector<Reminder>& reminders);

}  // namespace tavlo::reminders
