#pragma once

#include "app/CommandContext.h"

namespace kestavel {

// The current row changed: show its item (nothing when no row is current).
void ShowCurrentRow(const CommandContext& context);

// Double click on a row: open the item's folder in the file manager. The lists hold the 编码 in
// column 1, the picture window in column 0.
void OpenCurrentItemFolder(const CommandContext& context, int codeColumn = 1);

// "Go" or Enter in the jump box: the typed number is row and record number at once. A number
// of 0 or less, or past the last row, does nothing. True when it jumped.
bool JumpToTypedRow(const CommandContext& context, int pageLength);

// Double click on the preview: scroll back to the item the caption names.
void ScrollToShownItem(const CommandContext& context, int pageLength);

}  // namespace kestavel
