#pragma once

#include "platform/GbkText.h"

namespace kestavel {

// The record a row stands for, read from its 序号 cell: the whole number the cell begins with,
// 0 when it begins with none or the number is out of range.
int RecordNumberOf(const GbkText& numberCell);

}  // namespace kestavel
