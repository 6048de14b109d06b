#pragma once

#include <compare>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/ItemList.h"
#include "find/SortState.h"
#include "find/WholeNumber.h"
#include "platform/LocalDateTime.h"

namespace kestavel {

// The collation sort keys of a column's texts, one per row, packed into one buffer so that
// keying many rows allocates almost nothing.
class TextKeys {
  public:
    explicit TextKeys(std::size_t rows);
    void add(const Collation& collation, std::u16string_view text);
    std::size_t size() const { return ends_.size(); }
    std::string_view operator[](std::size_t row) const;
    // Takes over the keys of the rows that follow.
    void append(const TextKeys& later);

  private:
    std::string bytes_;
    std::vector<std::size_t> ends_;
};

// The keys of one sort, one per row and all of one kind, built once from the rows' cells: the
// collation keys of the texts, the dates read from them, or their scaled whole numbers.
using SortKeys = std::variant<TextKeys, std::vector<LocalDateTime>, std::vector<WholeNumber>>;

// What one set of keys is built from: a column's cells, keyed as the kind says. Numbers are
// scaled by 10 to the decimalPlaces (0 for a header click) before they are cut to whole
// numbers; other kinds ignore it.
struct KeySource {
    int column;
    KeyKind kind;
    int decimalPlaces;
};

// Keys of every row, one set per source, built in one pass over the rows.
std::vector<SortKeys> BuildSortKeys(const ItemList& list, const std::vector<KeySource>& sources,
                                    const Collation& collation);

// Keys of every row from its cell in column.
SortKeys BuildSortKeys(const ItemList& list, int column, KeyKind kind, int decimalPlaces,
                       const Collation& collation);

// Negative, 0 or positive as the first row comes before, level with or after the second in the
// given direction, given the two rows' keys.
template <class Key>
int CompareKeys(bool ascending, const Key& first, const Key& second) {
    const std::strong_ordering order = ascending ? first <=> second : second <=> first;
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// CompareKeys in the state's direction.
template <class Key>
int CompareRows(const SortState& state, const Key& first, const Key& second) {
    return CompareKeys(state.ascending, first, second);
}

// Reorders the list by the keys; rows whose keys compare equal keep their order, so sorting by
// the least significant key first and the most significant last gives a multi-column order.
void SortRows(ItemList& list, const SortState& state, const SortKeys& keys);

}  // namespace kestavel
