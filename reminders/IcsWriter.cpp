#include "IcsWriter.h"

#include <cstdio>

namespace tavlo::reminders {
namespace {

constexpr std::size_t kLineOctets = 75;

std::string stampValue(std::time_t stamp) {
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &stamp);
#else
    gmtime_r(&stamp, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof(text), "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

}  // namespace

std::string icsText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',')
            escaped += std::string("\\") + c;
        else if (c == '\n')
            escaped += "\\n";
        else if (c != '\r')
            escaped += c;
    }
    return escaped;
}

// Folded before 75 octets, never inside a character: a continuation line
// starts with one blank.
std::string icsLine(const std::string& name, const std::string& value) {
    const std::string line = name + ":" + value;
    std::string folded;
    std::size_t width = 0;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(line[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        if (width + length > kLineOctets) {
            folded += "\r\n ";
            width = 1;
        }
        folded.append(line, i, length);
        width += length;
        i += length;
    }
    return folded + "\r\n";
}

std::string icsCalendar(const std::vector<CalendarEvent>& events, std::time_t stamp) {
    const std::string dtstamp = stampValue(stamp);
    std::string calendar = icsLine("BEGIN", "VCALENDAR") + icsLine("VERSION", "2.0") +
                           icsLine("PRODID", "-//Tavlo//Tavlo助手//ZH") + icsLine("CALSCALE", "GREGORIAN") +
                           icsLine("X-WR-CALNAME", icsText("Tavlo助手 中国日历"));
    for (const CalendarEvent& event : events) {
        calendar += icsLine("BEGIN", "VEVENT") + icsLine("UID", event.uid) + icsLine("DTSTAMP", dtstamp) +
                    icsLine("DTSTART;VALUE=DATE", compactDate(event.date)) +
                    icsLine("DTEND;VALUE=DATE", compactDate(lunar::NextCivilDate(event.date))) +
                    icsLine("SUMMARY", icsText(event.summary)) + icsLine("CATEGORIES", icsText(event.category));
        if (!event.description.empty()) calendar += icsLine("DESCRIPTION", icsText(event.description));
        calendar += icsLine("TRANSP", "TRANSPARENT") + icsLine("END", "VEVENT");
    }
    return calendar + icsLine("END", "VCALENDAR");
}

}  // namespace tavlo::reminders
