#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestavel {

// The age window of the timed refreshes: at least L and at most U hours old, read from the two
// hour boxes as the whole number at the start of each text (empty or not a digit: 0).
struct HourWindow {
    std::int64_t least = 0;
    std::int64_t most = 0;

    static HourWindow read(const std::string& leastText, const std::string& mostText);
    // Both 0: every age passes; otherwise least ≤ age ≤ most.
    bool admits(std::int64_t ageHours) const;
};

std::int64_t LeadingWholeNumber(const std::string& text);

// When the upper box loses the focus: the text it must be raised to (L + 1), if any.
std::optional<std::string> RaisedUpperBound(const std::string& leastText,
                                            const std::string& mostText);

}  // namespace kestavel
