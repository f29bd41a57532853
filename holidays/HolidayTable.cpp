#include "HolidayTable.h"

#include "DateTimeValue.h"

#include <algorithm>

namespace tavlo::holidays {

bool daySerial(int year, int month, int day, int& serial) {
    lunar::TDateTime value = 0;
    if (!lunar::TryEncodeDate(year, month, day, value)) return false;
    serial = static_cast<int>(value);
    return true;
}

HolidayTable::HolidayTable(std::vector<HolidayRange> ranges) : ranges_(std::move(ranges)) {
    std::sort(ranges_.begin(), ranges_.end(),
              [](const HolidayRange& a, const HolidayRange& b) { return a.first < b.first; });
    for (const HolidayRange& range : ranges_) years_.push_back(range.year);
    std::sort(years_.begin(), years_.end());
    years_.erase(std::unique(years_.begin(), years_.end()), years_.end());
}

const HolidayRange* HolidayTable::find(int serial) const {
    // The last range that starts on or before the day is the only one that can hold it.
    auto after = std::upper_bound(ranges_.begin(), ranges_.end(), serial,
                                  [](int day, const HolidayRange& range) { return day < range.first; });
    if (after == ranges_.begin()) return nullptr;
    const HolidayRange& candidate = *std::prev(after);
    return serial <= candidate.last ? &candidate : nullptr;
}

const HolidayRange* HolidayTable::find(int year, int month, int day) const {
    int serial = 0;
    return daySerial(year, month, day, serial) ? find(serial) : nullptr;
}

DayKind HolidayTable::kindOf(int serial) const {
    const HolidayRange* range = find(serial);
    return range ? range->kind : DayKind::Ordinary;
}

bool HolidayTable::hasYear(int year) const {
    return std::binary_search(years_.begin(), years_.end(), year);
}

std::vector<const HolidayRange*> HolidayTable::rangesOfYear(int year) const {
    std::vector<const HolidayRange*> found;
    for (const HolidayRange& range : ranges_)
        if (range.year == year) found.push_back(&range);
    return found;
}

}  // namespace tavlo::holidays
