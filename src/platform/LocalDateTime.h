#pragma once

#include <compare>

namespace kestavel {

// A local calendar date and time of day, as the catalogue and the clock give it.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
    friend auto operator<=>(const LocalDateTime&, const LocalDateTime&) = default;
};

}  // namespace kestavel
