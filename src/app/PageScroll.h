#pragma once

#include "app/ItemList.h"

namespace kestavel {

// Scrolls a list of page length P so that row k (counted from 1) stands at the top, or, near the
// end, so that the last page shows with row k on it.
void ScrollToPage(ItemList& list, int k, int pageLength);

}  // namespace kestavel
