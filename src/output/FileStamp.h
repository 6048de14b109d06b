#pragma once

#include <string>

#include "platform/LocalDateTime.h"

namespace kestavel {

// A moment as default file names carry it: year_MM_DD_HHmm_SS, the year in full and every other
// part in two digits, as in 2015_10_04_0930_07.
std::string FileStamp(const LocalDateTime& when);

}  // namespace kestavel
