#pragma once

#include <vector>

#include "app/ItemList.h"

namespace kestavel {

// The main window's page and offset for a hit.
inline constexpr int kMainHitPage = 22;
inline constexpr int kMainHitOffset = 23;

// The rows ScrollToHit makes visible for each hit (from 0) in turn, in a list of `rows` rows:
// with more than page rows from the hit to the end, the row offset rows further down (unless
// it lies past the end), so the hit comes to the top; otherwise the last row, so the view ends
// at the last page; then the hit itself.
std::vector<int> HitScrollRows(int rows, const std::vector<int>& hits, int page, int offset);

// ScrollToHit on every hit in turn. Only where the scrolls end is seen, so the view is moved
// once, to there.
void ScrollToHits(ItemList& list, const std::vector<int>& hits, int page, int offset);

}  // namespace kestavel
