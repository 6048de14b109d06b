#pragma once

#include <string>

#include "app/CommandContext.h"
#include "catalogue/ModRecord.h"

namespace kestavel {

inline constexpr int kEditPageLength = 19;

// EditWindow's ten columns: 序号, 编码, 名称, 作者, 是否失效, 主分类, 明细分类1-3, 更新日期.
ItemRow EditRow(const ModRecord& record);

// Replaces the list's rows with one row per record in stored order.
bool FillEditList(ItemList& list, const std::string& cataloguePath, std::string* error);

// The edit list's current row changed: move MainWindow's list to the item and show it there.
// The edit context carries MainWindow's item view.
void ShowEditRowInMainWindow(const CommandContext& edit);

// "显示选择项目": keeps only the ticked rows, in their order.
void KeepPickedRows(ItemList& list);

// "显示全部项目": refills the list from the catalogue under the busy state. False after the
// missing-file message, when the program must end.
bool ShowAllRows(const CommandContext& edit);

}  // namespace kestavel
