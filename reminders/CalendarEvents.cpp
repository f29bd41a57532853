#include "CalendarEvents.h"

#include "Cycles.h"
#include "DateTimeValue.h"
#include "Festivals.h"
#include "LunarDate.h"
#include "SolarTerms.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace tavlo::reminders {
namespace {

using lunar::CivilDate;

// A short, stable fingerprint of a text (64-bit FNV-1a), for identities.
std::string fingerprint(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    char word[17];
    std::snprintf(word, sizeof(word), "%016llx", static_cast<unsigned long long>(hash));
    return word;
}

CalendarEvent event(const CivilDate& date, const std::string& summary, const std::string& category,
                    const std::string& kind, const std::string& description = {}) {
    return {date, summary, category, description,
            compactDate(date) + "-" + kind + "-" + fingerprint(summary) + "@tavlo"};
}

// The year's festivals, day by day. The lunar date steps along from the day
// before and is converted afresh only where a lunar month begins (or where
// the day does not follow on): a conversion costs a search, the day alone a
// few terms of the phase series.
void addFestivals(int year, std::vector<CalendarEvent>& events) {
    lunar::LunarDate lunarDate;
    bool known = false;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= lunar::CivilDaysInMonth(year, month); ++day) {
            const CivilDate date{year, month, day};
            const lunar::TDateTime value = lunar::EncodeDate(year, month, day);
            if (const std::string festival = lunar::HolidayOf(day, value); !festival.empty())
                events.push_back(event(date, festival, "节日", "festival"));
            const int lunarDay = lunar::LunarDayOf(year, month, day).Day;
            if (known && lunarDay > 1 && lunarDay == lunarDate.Day + 1)
                lunarDate.Day = lunarDay;
            else
                known = lunar::LunarDateOf(value, lunarDate);
            // Festivals belong to the ordinary months, never to a leap month.
            if (!known || lunarDate.Leap) continue;
            if (const std::string festival = lunar::LunarHolidayOf(lunarDate.Month, lunarDate.Day, value);
                !festival.empty())
                events.push_back(event(date, festival, "节日", "lunar"));
        }
}

void addHolidays(int year, const holidays::HolidayTable& table, std::vector<CalendarEvent>& events) {
    for (const holidays::HolidayRange* range : table.rangesOfYear(year))
        for (int serial = range->first; serial <= range->last; ++serial) {
            const CivilDate date = lunar::DecodeDate(serial);
            if (range->kind == holidays::DayKind::Off)
                events.push_back(event(date, range->name + "假期（休）", "放假", "off"));
            else if (range->kind == holidays::DayKind::Work)
                events.push_back(event(date, "调休上班（班）", "调休上班", "work", "为" + range->name + "调休"));
        }
}

}  // namespace

std::string compactDate(const CivilDate& date) {
    char text[16];
    std::snprintf(text, sizeof(text), "%04d%02d%02d", date.Year, date.Month, date.Day);
    return text;
}

bool EventKinds::parse(const std::string& list, EventKinds& out) {
    EventKinds kinds{false, false, false, false};
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string word = list.substr(start, comma - start);
        if (word == "festivals")
            kinds.festivals = true;
        else if (word == "terms")
            kinds.terms = true;
        else if (word == "holidays")
            kinds.holidays = true;
        else if (word == "reminders")
            kinds.reminders = true;
        else
            return false;
        start = comma + 1;
    }
    out = kinds;
    return true;
}

std::vector<CalendarEvent> calendarEvents(int first, int years, const EventKinds& kinds,
                                          const holidays::HolidayTable& table, const std::vector<Reminder>& reminders) {
    std::vector<CalendarEvent> events;
    const int last = first + years - 1;
    for (int year = first; year <= last; ++year) {
        if (kinds.festivals) addFestivals(year, events);
        if (kinds.terms)
            for (int term = 0; term < 24; ++term) {
                int month = 0, day = 0;
                // Dates count from 小寒, names from 立春.
                if (lunar::SolarTermDate(year, term, month, day))
                    events.push_back(event({year, month, day}, lunar::SolarTermName((term + 22) % 24), "节气", "term"));
            }
        if (kinds.holidays) addHolidays(year, table, events);
    }
    if (kinds.reminders)
        for (const Reminder& reminder : reminders)
            for (const CivilDate& date : occurrencesBetween(reminder, {first, 1, 1}, {last, 12, 31}))
                events.push_back({date, reminder.title, "提醒", reminder.note,
                                  "reminder-" + std::to_string(reminder.id) + "-" + compactDate(date) + "@tavlo"});
    std::stable_sort(events.begin(), events.end(), [](const CalendarEvent& a, const CalendarEvent& b) {
        return std::tie(a.date.Year, a.date.Month, a.date.Day) < std::tie(b.date.Year, b.date.Month, b.date.Day);
    });
    return events;
}

}  // namespace tavlo::reminders
