#pragma once

#include <cstdint>
#include <ctime>

#include "platform/LocalDateTime.h"

namespace kestavel {

LocalDateTime NowLocal();
LocalDateTime ToLocal(std::time_t when);
// Milliseconds on a steady clock; only differences mean anything.
std::int64_t MillisecondsSinceStart();

// Whole hours in a span of seconds, a part of an hour dropped towards the past, so a moment
// stamped in the future is never of age 0.
std::int64_t WholeHours(std::int64_t seconds);
// Whole hours from one moment to another as the local wall clock shows them: a daylight-saving
// change between the two neither adds nor takes an hour.
std::int64_t WallClockHoursBetween(std::time_t from, std::time_t to);

}  // namespace kestavel
