// The engine's costs: one conversion, one day analysis, and the analyses a
// calendar month rebuild makes (every day of the month plus the selected day).
// The whole-range dump is timed by bench/lunar/time-dump.sh.
#include "ChnCal.h"
#include "LunarDate.h"

#include <benchmark/benchmark.h>

using namespace tavlo::lunar;

namespace {

void BM_SolarToLunar(benchmark::State& state) {
    LunarDate lunar;
    int day = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SolarToLunar(2024, 5, day, lunar));
        day = day % 28 + 1;
    }
}
BENCHMARK(BM_SolarToLunar);

void BM_AnalyseDate(benchmark::State& state) {
    TChnCal cal;
    const TDateTime first = EncodeDate(2024, 5, 1);
    int offset = 0;
    for (auto _ : state) {
        cal.AnalyseDate(first + offset);
        benchmark::DoNotOptimize(cal.LunarDayName.data());
        offset = (offset + 1) % 28;
    }
}
BENCHMARK(BM_AnalyseDate);

// Lunar month 12 costs most: each of its days (but 1, 5, 7, 8, 9, 15) looks
// at the next day for 除夕. January 2024 lies mostly in lunar month 12.
void BM_MonthAnalyses(benchmark::State& state) {
    const int year = static_cast<int>(state.range(0));
    const int month = static_cast<int>(state.range(1));
    const int selected = 15;
    TChnCal cal;
    for (auto _ : state) {
        cal.AnalyseDate(EncodeDate(year, month, selected));
        const TDateTime first = EncodeDate(year, month, 1);
        for (int day = 0; DecodeDate(first + day).Month == month; ++day) cal.AnalyseDate(first + day);
        benchmark::DoNotOptimize(cal.LunarDayName.data());
    }
}
BENCHMARK(BM_MonthAnalyses)
    ->Args({2024, 5})
    ->Args({2024, 1})
    ->Args({1582, 10})
    ->Args({100, 2})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
