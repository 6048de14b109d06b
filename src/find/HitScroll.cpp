#include "find/HitScroll.h"

namespace kestavel {

std::vector<int> HitScrollRows(int rows, const std::vector<int>& hits, int page, int offset) {
    std::vector<int> requests;
    requests.reserve(2 * hits.size());
    for (const int hit : hits) {
        if (rows - hit > page) {
            if (hit + offset < rows) requests.push_back(hit + offset);
        } else {
            requests.push_back(rows - 1);
        }
        requests.push_back(hit);
    }
    return requests;
}

void ScrollToHits(ItemList& list, const std::vector<int>& hits, int page, int offset) {
    list.makeVisibleInTurn(HitScrollRows(list.rowCount(), hits, page, offset));
}

}  // namespace kestavel
