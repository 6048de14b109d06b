#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// "提取分类及时间" (EditWindow's 按钮_提取分类): rebuilds the edit list from the catalogue, its
// category and date columns empty, then stores for every record in stored order the main
// category, the first three tags and the update date its saved page gives, each into the record
// and its row; what a page does not give stays as the record holds it. False after the
// missing-file message, when the program must end.
bool ExtractCategoriesAndDates(const CommandContext& edit);

}  // namespace kestavel
