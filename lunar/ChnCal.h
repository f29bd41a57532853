#pragma once
// The day analysis: every Chinese text a calendar shows for one date.
#include "DateTimeValue.h"

#include <cstdint>
#include <string>

namespace tavlo::lunar {

class TChnCal {
public:
    int32_t LunarYear = 0;
    int32_t LunarMonth = 0;      // 1..12; a leap month has the number it repeats
    TDateTime AnalysedDate = 0;  // the date last given to AnalyseDate
    std::string SolarTerm;       // the solar term falling on the date, or ""
    std::string Holiday;         // Gregorian festival, or ""
    std::string LunarMonthName;
    std::string DayGanZhi;
    std::string YearGanZhi;    // the year starting at 立春
    std::string MonthGanZhi;   // the solar month
    std::string LunarHoliday;  // lunar festival, or ""
    std::string LunarYearNumber;
    std::string LunarDayName;
    std::string Animal;  // of the lunar year
    std::string Constellation;
    std::string EraName;  // reign era of the civil year, "" from 1949 on

    // Fills every field from the date's proleptic Gregorian labels, which the
    // engine reads as a Julian date before 1582-10-15. Outside the civil years
    // -849..2100 only AnalysedDate changes.
    void AnalyseDate(TDateTime date);

    // The same for a date of the engine's own calendar. A Julian leap day that
    // the proleptic Gregorian date-time cannot hold (February 29 of 100, 200,
    // 300, 500 ... and of the negative years -1, -5 ...) is analysed from its
    // own labels, with its next day March 1; AnalysedDate then holds February 28.
    // Labels that name no day of either calendar change nothing.
    void AnalyseCivilDate(int year, int month, int day);

private:
    // `date` stands for the labels in the weekday rules and the next-day test.
    void Analyse(const CivilDate& labels, TDateTime date);
};

}  // namespace tavlo::lunar
