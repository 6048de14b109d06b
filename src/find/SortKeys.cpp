#include "find/SortKeys.h"

#include <algorithm>
#include <compare>
#include <numeric>

#include "find/DateRead.h"
#include "platform/CodePage.h"

namespace kestavel {
namespace {

SortKey KeyOf(const GbkText& cell, KeyKind kind, int decimalPlaces, const Collation& collation) {
    switch (kind) {
        case KeyKind::Text:
            return collation.sortKey(GbkToUtf8(cell));
        case KeyKind::Date:
            return DateRead(cell);
        case KeyKind::Number:
            return ReadWholeNumber(cell, decimalPlaces);
    }
    return std::string();
}

int Sign(std::strong_ordering order) {
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace

std::vector<SortKey> BuildSortKeys(const ItemList& list, int column, KeyKind kind,
                                   int decimalPlaces, const Collation& collation) {
    std::vector<SortKey> keys;
    const int rows = list.rowCount();
    keys.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        keys.push_back(KeyOf(list.cell(row, column), kind, decimalPlaces, collation));
    }
    return keys;
}

int CompareRows(const SortState& state, const SortKey& first, const SortKey& second) {
    const SortKey& a = state.ascending ? first : second;
    const SortKey& b = state.ascending ? second : first;
    // Keys of one sort share a kind; the index order only keeps a mixed pair well defined.
    if (a.index() != b.index()) return a.index() < b.index() ? -1 : 1;
    return std::visit(
        [&b](const auto& left) {
            const auto& right = std::get<std::decay_t<decltype(left)>>(b);
            return Sign(left <=> right);
        },
        a);
}

void SortRows(ItemList& list, const SortState& state, const std::vector<SortKey>& keys) {
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int first, int second) {
        return CompareRows(state, keys[static_cast<std::size_t>(first)],
                           keys[static_cast<std::size_t>(second)]) < 0;
    });
    list.reorderRows(order);
}

}  // namespace kestavel
