#pragma once

#include <string>

#include "app/CommandContext.h"
#include "platform/GbkText.h"

namespace kestavel {

inline constexpr int kMainPageLength = 24;

// The description pieces joined, split at "<br>", each line ended by "\r\n"; an empty piece
// after the last "<br>" is dropped.
std::string DescriptionLines(const GbkText& description);

// Shows one item in MainWindow's item view: clipboard, caption, picture and description.
// number is the item's 序号 text, code its 编码.
void ShowItem(const CommandContext& context, const GbkText& number, const GbkText& code);

}  // namespace kestavel
