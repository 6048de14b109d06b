#include "find/MultiSort.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "find/SortKeys.h"
#include "find/WholeNumber.h"
#include "platform/CodePage.h"

namespace kestavel {
namespace {

constexpr int kNoColumn = -1;
// Numbers count four decimal places here, where a header click counts none.
constexpr int kDecimalPlaces = 4;

int ColumnOf(const std::string& cell) {
    const GbkText text = Utf8ToGbk(cell);
    const WholeNumber whole = ReadWholeNumber(text, 0);
    if (whole > WholeNumber()) {
        const std::optional<std::int64_t> number = whole.value();
        return number && *number <= std::numeric_limits<int>::max() ? static_cast<int>(*number - 1)
                                                                    : kNoColumn;
    }
    // Below 1, the number minus 1 cuts to 0 only for a fraction above zero.
    return NumberSign(text) > 0 ? 0 : kNoColumn;
}

KeyKind KindOf(std::string_view cell) {
    if (cell == "文本型") return KeyKind::Text;
    if (cell == "数值型") return KeyKind::Number;
    return KeyKind::Date;
}

}  // namespace

std::vector<SortKey> KeyList(const std::vector<KeyTableRow>& table) {
    std::vector<SortKey> keys;
    for (const KeyTableRow& row : table) {
        if (row.column.empty()) continue;
        keys.push_back({ColumnOf(row.column), row.direction == "升序", KindOf(row.kind)});
    }
    return keys;
}

void MultiSort(SortState& state, ItemList& list, const std::vector<SortKey>& keys) {
    const int rows = list.rowCount();
    if (keys.empty() || rows == 0) return;
    state.ascending = keys.front().ascending;
    state.keyKind = keys.front().kind;
    std::vector<KeySource> sources;
    std::vector<bool> ascending;
    for (const SortKey& key : keys) {
        // A column the list lacks gives every row the same empty cell, which orders nothing.
        if (key.column < 0 || key.column >= list.columnCount()) continue;
        sources.push_back({key.column, key.kind, kDecimalPlaces});
        ascending.push_back(key.ascending);
    }
    if (sources.empty()) return;
    const std::vector<ColumnKeys> keyed = BuildSortKeys(list, sources, state.collation);
    std::vector<OrderKey> order;
    for (std::size_t k = 0; k < keyed.size(); ++k) order.push_back({keyed[k], ascending[k]});
    list.reorderRows(SortedOrder(order));
}

}  // namespace kestavel
