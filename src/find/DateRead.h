#pragma once

#include "platform/GbkText.h"
#include "platform/LocalDateTime.h"

namespace kestavel {

// The earliest date there is, which every cell that is no date reads as.
inline constexpr LocalDateTime kEarliestDate{100, 1, 1, 0, 0, 0};

// Reads a cell as a date and time: year (up to 4 digits), month, day, hour, minute and second
// (up to 2 digits each), each part but the second followed by at most one separator ("-", "/",
// ".", ":", or its own marker 年 月 日 时 分; after the day also a blank); after the second the
// text ends or 秒 follows. Missing parts read as 0. Full-width forms count as ASCII. A text
// that gives no real calendar date and time of day reads as kEarliestDate.
LocalDateTime DateRead(const GbkText& cell);

}  // namespace kestavel
