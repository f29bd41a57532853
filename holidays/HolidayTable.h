#pragma once
// The official rest days (休) and make-up workdays (班) that the State Council
// announces each year, and the look-up of one day.
#include <cstdint>
#include <string>
#include <vector>

namespace tavlo::holidays {

enum class DayKind : std::uint8_t {
    Ordinary,  // not part of any arrangement
    Off,       // 休: a day off of a holiday
    Work,      // 班: a weekend day that became a workday in exchange
};

// One line of a table: consecutive days of one kind.
struct HolidayRange {
    int year = 0;      // the year whose arrangement holds it (2007-12-29 belongs to 2008)
    std::string name;  // the holiday; for a make-up workday the one it serves
    DayKind kind = DayKind::Ordinary;
    int first = 0;  // days since 1899-12-30, both ends included
    int last = 0;
    int line = 0;  // line of the text it was read from
};

// Day number of a proleptic Gregorian date as the ranges count it; false when
// the labels name no day.
bool daySerial(int year, int month, int day, int& serial);

// Ranges sorted by date, none overlapping: a day is found by one binary search.
class HolidayTable {
public:
    HolidayTable() = default;
    // `ranges` must not overlap (parseHolidays and mergeHolidays see to it).
    explicit HolidayTable(std::vector<HolidayRange> ranges);

    // The range holding the day, or nullptr.
    const HolidayRange* find(int serial) const;
    const HolidayRange* find(int year, int month, int day) const;
    DayKind kindOf(int serial) const;

    // Whether the year's arrangement is known: a year without one shows no
    // marks, since nothing can be said about its days.
    bool hasYear(int year) const;
    // The known years, ascending.
    const std::vector<int>& years() const { return years_; }
    // The ranges of one year's arrangement, by date.
    std::vector<const HolidayRange*> rangesOfYear(int year) const;
    const std::vector<HolidayRange>& ranges() const { return ranges_; }

private:
    std::vector<HolidayRange> ranges_;
    std::vector<int> years_;
};

}  // namespace tavlo::holidays
