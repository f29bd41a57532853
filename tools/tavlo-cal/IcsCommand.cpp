// tavlo-cal ics: the calendar in the iCalendar format on standard output,
// for other calendar programs to import.
#include "CalendarArgs.h"
#include "Commands.h"
#include "IcsWriter.h"
#include "StandardOutput.h"

#include <ctime>

namespace tavlo::cal {

void runIcs(const std::optional<std::string>& from, const std::optional<std::string>& years,
            const std::optional<std::string>& what, const holidays::HolidayTable& table,
            const std::vector<reminders::Reminder>& reminders) {
    const int first = from ? parseYear(*from) : today().Year;
    int count = 1;
    if (years) {
        count = 0;
        for (const char c : *years) {
            if (c < '0' || c > '9' || count > 1000) throw tool::UsageError("年数不对：" + *years);
            count = count * 10 + (c - '0');
        }
        if (years->empty() || count < 1) throw tool::UsageError("年数不对：" + *years);
    }
    // iCalendar writes years with four digits.
    if (first < 1 || first + count - 1 > 2100)
        throw tool::UsageError("iCalendar 只能写公元 1 年到 2100 年的日子：" + std::to_string(first) + " 起 " +
                               std::to_string(count) + " 年");
    reminders::EventKinds kinds;
    if (what && !reminders::EventKinds::parse(*what, kinds))
        throw tool::UsageError("--what 只能是 festivals、terms、holidays、reminders，以逗号分隔：" + *what);
    tool::writeOut(
        reminders::icsCalendar(reminders::calendarEvents(first, count, kinds, table, reminders), std::time(nullptr)));
}

}  // namespace tavlo::cal
