#pragma once

#include "catalogue/ModRecord.h"
#include "platform/GbkText.h"

namespace kestavel {

// How a field value is written into a list cell or a message: "真"/"假", plain decimals, and
// dates as 2015年10月3日14时5分 with the trailing zero parts left off.
GbkText DisplayText(const FieldValue& value);
GbkText DisplayNumber(std::int64_t number);
GbkText DisplayDate(const LocalDateTime& when);

}  // namespace kestavel
