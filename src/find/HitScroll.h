#pragma once

#include "app/ItemList.h"

namespace kestavel {

// The main window's page and offset for a hit.
inline constexpr int kMainHitPage = 22;
inline constexpr int kMainHitOffset = 23;

// Scrolls to a hit at row (from 0): with more than page rows from it to the end, the row offset
// rows further down is brought into view first, so the hit comes to the top; otherwise the last
// row is, so the view ends at the last page. A row past the end is not requested.
void ScrollToHit(ItemList& list, int row, int page, int offset);

}  // namespace kestavel
