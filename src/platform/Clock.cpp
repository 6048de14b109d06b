#include "platform/Clock.h"

#include <chrono>

namespace kestavel {
namespace {

// Seconds from 1970-01-01 00:00 to the given wall-clock reading, counted as if every day had
// 24 hours.
std::int64_t WallClockSeconds(const LocalDateTime& when) {
    const std::chrono::sys_days day{std::chrono::year_month_day{
        std::chrono::year(when.year), std::chrono::month(static_cast<unsigned>(when.month)),
        std::chrono::day(static_cast<unsigned>(when.day))}};
    return std::int64_t{day.time_since_epoch().count()} * 86400 + when.hour * 3600 +
           when.minute * 60 + when.second;
}

}  // namespace

LocalDateTime ToLocal(std::time_t when) {
    std::tm parts{};
    localtime_r(&when, &parts);
    return LocalDateTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                         parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

LocalDateTime NowLocal() {
    return ToLocal(std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()));
}

std::int64_t MillisecondsSinceStart() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t WholeHours(std::int64_t seconds) {
    return seconds >= 0 ? seconds / 3600 : -((-seconds + 3599) / 3600);
}

std::int64_t WallClockHoursBetween(std::time_t from, std::time_t to) {
    return WholeHours(WallClockSeconds(ToLocal(to)) - WallClockSeconds(ToLocal(from)));
}

}  // namespace kestavel
