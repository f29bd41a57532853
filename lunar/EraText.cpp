#include "EraTable.h"
#include "TextFields.h"

#include <charconv>

namespace tavlo::lunar {
namespace {

constexpr int kFirstEraYear = -2069;
constexpr int kFirstCommonEraYear = 1949;

// Field 1 as an integer, 0 when it is not a number.
int firstYearOf(std::string_view row) {
    const std::string field = FieldOf(row, ',', 1);
    int year = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), year);
    if (error != std::errc() || end != field.data() + field.size()) return 0;
    return year;
}

}  // namespace

std::string EraText(int year) {
    if (year >= kFirstCommonEraYear || year < kFirstEraYear) return "";
    for (std::size_t i = 0; i + 1 < EraTable.size(); ++i) {
        const std::string_view row = EraTable[i];
        const int start = firstYearOf(row);
        const int next = firstYearOf(EraTable[i + 1]);
        if (year < start || year >= next) continue;
        const int k = year - start + 1;
        return "[" + FieldOf(row, ',', 4) + "]" + FieldOf(row, ',', 5) + " " + FieldOf(row, ',', 6) + " " +
               FieldOf(row, ',', 7) + IfThenStr(k == 1, "元", std::to_string(k)) + "年";
    }
    return "";
}

}  // namespace tavlo::lunar
