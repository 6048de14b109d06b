#pragma once

#include "app/CommandContext.h"
#include "find/FindControls.h"

namespace kestavel {

// "选中作者查作品": collects the authors of the picked rows, clears every pick mark, selects
// every row by one of those authors (exactly, or contained in the cell with fuzzy ticked) and
// appends the picked count, the authors and the hits to the result box. Rows selected before
// stay selected. Serves either window's list.
void SelectedAuthorsSearch(const FindControls& controls);

// The same over the list, check box and result box of a window's context.
void SelectedAuthorsSearch(const CommandContext& context);

}  // namespace kestavel
