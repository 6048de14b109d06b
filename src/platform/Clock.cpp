#include "platform/Clock.h"

#include <chrono>

namespace kestavel {

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

}  // namespace kestavel
