// Costs of the holiday table: one day's look-up (what a month rebuild does
// per cell), a year of them, and reading the built-in table (once per run).
#include "HolidayParser.h"
#include "HolidayTexts.h"
#include "ProgramHolidays.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tavlo::holidays;

void BM_LookUpEveryDayOfAYear(benchmark::State& state) {
    const HolidayTable table = builtInHolidays();
    int first = 0, last = 0;
    daySerial(2024, 1, 1, first);
    daySerial(2024, 12, 31, last);
    for (auto _ : state) {
        int marked = 0;
        for (int day = first; day <= last; ++day) marked += table.kindOf(day) != DayKind::Ordinary;
        benchmark::DoNotOptimize(marked);
    }
    state.SetItemsProcessed(state.iterations() * (last - first + 1));
}
BENCHMARK(BM_LookUpEveryDayOfAYear)->Unit(benchmark::kMicrosecond);

void BM_ReadBuiltInTable(benchmark::State& state) {
    for (auto _ : state) {
        const HolidayTable table = builtInHolidays();
        benchmark::DoNotOptimize(table.ranges().data());
    }
}
BENCHMARK(BM_ReadBuiltInTable)->Unit(benchmark::kMicrosecond);

// A user table of a century of years: reading stays linear in its lines.
void BM_ReadLargeUserTable(benchmark::State& state) {
    std::string text;
    for (int year = 2030; year < 2030 + state.range(0); ++year) {
        const std::string y = std::to_string(year);
        text += y + " 元旦 休 " + y + "-01-01\n" + y + " 春节 休 " + y + "-02-06 " + y + "-02-12\n" + y + " 春节 班 " +
                y + "-02-14\n" + y + " 国庆节 休 " + y + "-10-01 " + y + "-10-07\n";
    }
    for (auto _ : state) benchmark::DoNotOptimize(parseHolidays(text).ranges.size());
    state.SetItemsProcessed(state.iterations() * state.range(0) * 4);
}
BENCHMARK(BM_ReadLargeUserTable)->Arg(10)->Arg(70)->Unit(benchmark::kMicrosecond);

void BM_YearListing(benchmark::State& state) {
    const HolidayTable table = builtInHolidays();
    for (auto _ : state) benchmark::DoNotOptimize(yearArrangementLines(table, 2024).size());
}
BENCHMARK(BM_YearListing)->Unit(benchmark::kMicrosecond);

}  // namespace
