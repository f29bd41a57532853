// tavlo-cal dump START END: one tab-separated line per day of the engine's
// calendar, for comparing whole ranges against another calendar.
#include "CalendarArgs.h"
#include "ChnCal.h"
#include "Commands.h"
#include "LunarDate.h"
#include "StandardOutput.h"

#include <string>

#include <algorithm>
#include <thread>
#include <vector>

namespace tavlo::cal {
namespace {

void appendField(std::string& line, std::string_view field) {
    line += '\t';
    line += field;
}

void appendDay(std::string& buffer, const lunar::CivilDate& date) {
    buffer += formatDate(date);
    appendField(buffer, std::to_string(lunar::DayNumber(date.Year, date.Month, date.Day)));
    // SolarToLunar is these steps plus the lunar year, and fails exactly when
    // they do; the analysis below computes the year, so the new-year search
    // (most of a conversion's cost) runs once per day, not twice.
    int lunarMonth = 0;
    int lunarDay = 0;
    bool leap = false;
    const bool converted = lunar::SolarToLunarMonthDay(date.Year, date.Month, date.Day, lunarMonth, lunarDay, leap);
    appendField(buffer, converted ? "1" : "0");
    if (!converted) {
        buffer.append(14, '\t');
        buffer += '\n';
        return;
    }
    lunar::TChnCal cal;
    cal.AnalyseCivilDate(date.Year, date.Month, date.Day);
    appendField(buffer, std::to_string(cal.LunarYear));
    appendField(buffer, std::to_string(lunarMonth));
    appendField(buffer, std::to_string(lunarDay));
    appendField(buffer, leap ? "1" : "0");
    for (const std::string* text :
         {&cal.LunarMonthName, &cal.LunarDayName, &cal.DayGanZhi, &cal.MonthGanZhi, &cal.YearGanZhi, &cal.Animal,
          &cal.Constellation, &cal.SolarTerm, &cal.Holiday, &cal.LunarHoliday})
        appendField(buffer, *text);
    buffer += '\n';
}

}  // namespace

void runDump(const std::vector<std::string>& args) {
    const lunar::CivilDate first = parseDay(args[0]);
    const lunar::CivilDate last = parseDay(args[1]);
    if (lunar::CompareCivilDates(first, last) > 0) throw UsageError("起始日期晚于结束日期");

    std::vector<lunar::CivilDate> days;
    for (lunar::CivilDate date = first;; date = lunar::NextCivilDate(date)) {
        days.push_back(date);
        if (date == last) break;
    }
    // The engine keeps no state, so blocks of days are computed side by side
    // on every core and written in order.
    const std::size_t workers = std::max(1u, std::thread::hardware_concurrency());
    constexpr std::size_t kBlockDays = 8192;
    for (std::size_t batch = 0; batch < days.size(); batch += workers * kBlockDays) {
        std::vector<std::string> blocks(workers);
        std::vector<std::thread> threads;
        for (std::size_t w = 0; w < workers; ++w) {
            const std::size_t from = batch + w * kBlockDays;
            const std::size_t to = std::min(days.size(), from + kBlockDays);
            if (from >= to) break;
            threads.emplace_back([&days, &block = blocks[w], from, to] {
                for (std::size_t i = from; i < to; ++i) appendDay(block, days[i]);
            });
        }
        for (std::thread& thread : threads) thread.join();
        for (const std::string& block : blocks) {
            // A full disk ends the dump at once, not after every day is computed.
            tool::writeOut(block);
        }
    }
}

}  // namespace tavlo::cal
