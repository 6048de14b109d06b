#include "app/PageScroll.h"

namespace kestavel {

void ScrollToPage(ItemList& list, int k, int pageLength) {
    const int rows = list.rowCount();
    if (k < 1 || k > rows) return;
    // Going past the row first and then back to it leaves it as the first visible row.
    if (rows - k > pageLength - 1) {
        list.makeVisible(k + pageLength - 1);
    } else {
        list.makeVisible(rows - 1);
    }
    list.makeVisible(k - 1);
}

}  // namespace kestavel
