#include "TextFields.h"

namespace tavlo::lunar {
namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string FieldOf(std::string_view text, char separator, int n) {
    if (n < 1) return "";
    for (int field = 1;; ++field) {
        const std::size_t end = text.find(separator);
        if (field == n) return std::string(trimmed(text.substr(0, end)));
        if (end == std::string_view::npos) return "";
        text.remove_prefix(end + 1);
    }
}

std::string IfThenStr(bool condition, std::string_view whenTrue, std::string_view whenFalse) {
    return std::string(condition ? whenTrue : whenFalse);
}

}  // namespace tavlo::lunar
