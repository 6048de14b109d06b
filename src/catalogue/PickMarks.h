#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// "全部选择": ticks every row.
void PickAllRows(const CommandContext& context);
// "取消选择": unticks every row.
void UnpickAllRows(const CommandContext& context);
// "选择": ticks the highlighted rows and reports this choice and all picks.
void PickHighlightedRows(const CommandContext& context);

}  // namespace kestavel
