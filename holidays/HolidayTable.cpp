#include "HolidayTable.h"

#include "DateTimeValue.h"

#include <algorithm>

namespace tavlo::holidays {

bool DaySerial(int year, int month, int day, int& serial) {
    lunar::TDateTime value = 0;
    if (!lunar::TryEncodeDate(year, month, day, value)) return false;
    serial = static_cast<int>(value);
    return true;
}

HolidayTable::HolidayTable(std::vector<HolidayRange> ranges) : ranges_(std::move(ranges)) {
    std::sort(ranges_.begin(), ranges_.end(),
              [](const HolidayRange& a, const HolidayRange& b) { return a.First < b.First; });
    for (const HolidayRange& range : ranges_) years_.push_back(range.Year);
    std::sort(years_.begin(), years_.end());
    years_.erase(std::unique(years_.begin(), years_.end()), years_.end());
}

const HolidayRange* HolidayTable::Find(int serial) const {
    // The last range that starts on or before the day is the only one that can hold it.
    auto after = std::upper_bound(ranges_.begin(), ranges_.end(), serial,
                                  [](int day, const HolidayRange& range) { return day < range.First; });
    if (after == ranges_.begin()) return nullptr;
    const HolidayRange& candidate = *std::prev(after);
    return serial <= candidate.Last ? &candidate : nullptr;
}

const HolidayRange* HolidayTable::Find(int year, int month, int day) const {
    int serial = 0;
    return DaySerial(year, month, day, serial) ? Find(serial) : nullptr;
}

DayKind HolidayTable::KindOf(int serial) const {
    const HolidayRange* range = Find(serial);
    return range ? range->Kind : DayKind::Ordinary;
}

bool HolidayTable::HasYear(int year) const {
    return std::binary_search(years_.begin(), years_.end(), year);
}

std::vector<const HolidayRange*> HolidayTable::RangesOfYear(int year) const {
    std::vector<const HolidayRange*> found;
    for (const HolidayRange& range : ranges_)
        if (range.Year == year) found.push_back(&range);
    return found;
}

}  // namespace tavlo::holidays
