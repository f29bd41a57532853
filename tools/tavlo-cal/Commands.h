#pragma once
#include "CommandLine.h"
#include "Reminder.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavlo::holidays {
class HolidayTable;
}

namespace tavlo::cal {

// Each command reads its arguments (after the command word, as many as its
// description allows) and writes to standard output; bad arguments throw
// UsageError, a failure tool::Failure.
void runMonth(const std::vector<std::string>& args, const holidays::HolidayTable& table);
void runDay(const std::vector<std::string>& args, const holidays::HolidayTable& table);
void runHolidays(const std::vector<std::string>& args, const holidays::HolidayTable& table);
void runDump(const std::vector<std::string>& args);
// --from YYYY (this year), --years N (1), --what the kinds of events (all).
void runIcs(const std::optional<std::string>& from, const std::optional<std::string>& years,
            const std::optional<std::string>& what, const holidays::HolidayTable& table,
            const std::vector<reminders::Reminder>& reminders);

#ifdef TAVLO_CAL_REMINDERS
// remind add|list|remove|due, on the notes database of `folder`.
void runRemind(const tool::Invocation& call, const std::filesystem::path& folder);
// The reminders kept in `folder`'s notes database; none without one.
std::vector<reminders::Reminder> storedReminders(const std::filesystem::path& folder);
#endif

}  // namespace tavlo::cal
