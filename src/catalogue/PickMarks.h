#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// "全部选择": ticks every row.
void PickAllRows(const CommandContext& context);
// "取消选择": unticks every row and reports it.
void UnpickAllRows(const CommandContext& context);
// Unticks every row without a report, as EditWindow's "取消选择" does.
void ClearPickMarks(ItemList& list);
// "选择": ticks the highlighted rows and reports this choice and all picks.
void PickHighlightedRows(const CommandContext& context);

// PictureWindow's "全部选择": ticks every picture.
void PickAllPictures(const CommandContext& picture);
// PictureWindow's "选择": as "选择" of the lists, the picks named by their 编码.
void PickHighlightedPictures(const CommandContext& picture);

}  // namespace kestavel
