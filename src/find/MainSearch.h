#pragma once

#include <string_view>

#include "app/CommandContext.h"

namespace kestavel {

// How a main window search was started: the Enter key in the search box hands the box back the
// focus with its text selected, so the next search text can be typed at once.
enum class SearchStart { Button, EnterKey };

// "文本输入查找" or Enter in 编辑框_查找条件: selects the main list's rows whose subject (the
// column the search item names, or the joined description under "MOD信息") matches the search
// text, scrolls to each hit and appends a summary to the result box. searchItem is the text of
// 组合框_查找项目 (UTF-8).
void MainSearch(const CommandContext& context, std::string_view searchItem, SearchStart start);

// Whether the search box refuses a typed character: "-" while the search item is "序号".
bool SearchBoxRefuses(std::string_view searchItem, std::string_view typed);

}  // namespace kestavel
