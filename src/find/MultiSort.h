#pragma once

#include <string>
#include <vector>

#include "app/ItemList.h"
#include "find/SortState.h"

namespace kestavel {

// One key of the multi-column sort.
struct SortKey {
    int column;  // of the sorted list, from 0; a column the list lacks orders nothing
    bool ascending;
    KeyKind kind;

    friend bool operator==(const SortKey&, const SortKey&) = default;
};

// The cells of one row of the key table as shown (UTF-8): 待排序列, 升降序 and 排序类型.
struct KeyTableRow {
    std::string column;
    std::string direction;
    std::string kind;
};

// The key list: a key for every row whose 待排序列 is not empty, in table order. Its column is
// the number read from the cell minus 1, cut toward zero; it is ascending only for exactly
// "升序"; its kind is text for exactly "文本型", number for exactly "数值型" and date otherwise.
std::vector<SortKey> KeyList(const std::vector<KeyTableRow>& table);

// Orders the list by every key, the first the most significant, rows equal in all of them
// keeping their order: in one sort, the order that stable sorts by each key from the last to
// the first give. Numbers count four decimal places and are never cut to a fixed width. The
// state is left with the first key's direction and kind, as the last of those sorts leaves it.
// An empty list or key list changes nothing.
void MultiSort(SortState& state, ItemList& list, const std::vector<SortKey>& keys);

}  // namespace kestavel
