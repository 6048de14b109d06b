#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// "选中作者查作品": collects the authors of the picked rows, clears every pick mark, selects
// every row by one of those authors (exactly, or contained in the cell with fuzzy ticked) and
// appends the picked count, the authors and the hits to the result box. Rows selected before
// stay selected. Serves either window's list through its context.
void SelectedAuthorsSearch(const CommandContext& context);

}  // namespace kestavel
