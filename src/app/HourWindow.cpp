#include "app/HourWindow.h"

#include <limits>

namespace kestavel {

std::int64_t LeadingWholeNumber(const std::string& text) {
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        // Saturate: a box full of digits means "very many hours", not a wrapped negative value.
        if (value > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10) {
            return std::numeric_limits<std::int64_t>::max();
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

HourWindow HourWindow::read(const std::string& leastText, const std::string& mostText) {
    return HourWindow{LeadingWholeNumber(leastText), LeadingWholeNumber(mostText)};
}

bool HourWindow::admits(std::int64_t ageHours) const {
    if (least == 0 && most == 0) return true;
    return least <= ageHours && ageHours <= most;
}

std::optional<std::string> RaisedUpperBound(const std::string& leastText,
                                            const std::string& mostText) {
    const std::int64_t least = LeadingWholeNumber(leastText);
    if (least == 0 || least == std::numeric_limits<std::int64_t>::max()) return std::nullopt;
    if (LeadingWholeNumber(mostText) >= least + 1) return std::nullopt;
    return std::to_string(least + 1);
}

}  // namespace kestavel
