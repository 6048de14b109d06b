#pragma once

#include <cstdint>
#include <ctime>

#include "platform/LocalDateTime.h"

namespace kestavel {

LocalDateTime NowLocal();
LocalDateTime ToLocal(std::time_t when);
// Milliseconds on a steady clock; only differences mean anything.
std::int64_t MillisecondsSinceStart();

}  // namespace kestavel
