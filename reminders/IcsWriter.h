#pragma once
// The calendar in the iCalendar format (RFC 5545) other calendar programs
// import: UTF-8, lines ended by CR LF and folded at 75 octets, each event a
// whole day.
#include "CalendarEvents.h"

#include <ctime>
#include <string>
#include <vector>

namespace tavlo::reminders {

// `stamp`: when the calendar was made (each event's DTSTAMP).
std::string icsCalendar(const std::vector<CalendarEvent>& events, std::time_t stamp);

// One content line, escaped as TEXT where `text`, folded, with its CR LF.
std::string icsLine(const std::string& name, const std::string& value);
// A TEXT value with backslash, semicolon, comma and line ends escaped.
std::string icsText(const std::string& text);

}  // namespace tavlo::reminders
