// The calendar exported for ten years, and a thousand reminders asked
// whether they are due on a day.
#include "CalendarEvents.h"
#include "IcsWriter.h"
#include "ProgramHolidays.h"
#include "Reminder.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tavlo;

void BM_IcsTenYears(benchmark::State& state) {
    const holidays::HolidayTable table = holidays::builtInHolidays();
    for (auto _ : state) {
        const std::string calendar =
            reminders::icsCalendar(reminders::calendarEvents(2021, 10, {}, table, {}), 1'800'000'000);
        benchmark::DoNotOptimize(calendar.data());
    }
}
BENCHMARK(BM_IcsTenYears)->Unit(benchmark::kMillisecond);

void BM_DueOfAThousandReminders(benchmark::State& state) {
    std::vector<reminders::Reminder> all;
    for (int i = 0; i < 1000; ++i) {
        reminders::Reminder reminder;
        reminder.kind = i % 2 ? reminders::Reminder::Kind::Lunar : reminders::Reminder::Kind::Solar;
        reminder.month = 1 + i % 12;
        reminder.day = 1 + i % 28;
        reminder.daysAhead = i % 8;
        all.push_back(reminder);
    }
    for (auto _ : state) {
        int due = 0;
        for (const reminders::Reminder& reminder : all) due += reminders::dueOn(reminder, {2026, 12, 11});
        benchmark::DoNotOptimize(due);
    }
}
BENCHMARK(BM_DueOfAThousandReminders)->Unit(benchmark::kMillisecond);

}  // namespace
