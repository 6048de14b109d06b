#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// "新建索引": after confirmation, replaces the catalogue and the list with one record per
// sub-folder of the workshop folder, numbered in listing order. The old catalogue stays whole
// until the new one is complete.
void BuildNewIndex(const CommandContext& context);

// "追加索引": adds a record for every sub-folder whose name the catalogue lacks, keeping every
// existing record and its number.
void AppendIndex(const CommandContext& context);

// "打开位置": lets the user choose the workshop folder.
void BrowseWorkshopFolder(const CommandContext& context);

}  // namespace kestavel
