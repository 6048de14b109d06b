#include "find/HitScroll.h"

namespace kestavel {

void ScrollToHit(ItemList& list, int row, int page, int offset) {
    const int rows = list.rowCount();
    if (rows - row > page) {
        if (row + offset < rows) list.makeVisible(row + offset);
    } else {
        list.makeVisible(rows - 1);
    }
    list.makeVisible(row);
}

}  // namespace kestavel
