#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/ItemList.h"
#include "find/SortState.h"
#include "find/WholeNumber.h"
#include "platform/LocalDateTime.h"

namespace kestavel {

// A row's key for one sort, built once from its cell: a collation sort key (text), the date
// read from the cell, or the scaled whole number.
using SortKey = std::variant<std::string, LocalDateTime, WholeNumber>;

// Keys of every row from its cell in column. Numbers are scaled by 10 to the decimalPlaces
// (0 for a header click) before they are cut to whole numbers; other kinds ignore it.
std::vector<SortKey> BuildSortKeys(const ItemList& list, int column, KeyKind kind,
                                   int decimalPlaces, const Collation& collation);

// Negative, 0 or positive as the first row comes before, level with or after the second in the
// state's direction.
int CompareRows(const SortState& state, const SortKey& first, const SortKey& second);

// Reorders the list by the keys (one per row); rows whose keys compare equal keep their order,
// so sorting by the least significant key first gives a multi-column order.
void SortRows(ItemList& list, const SortState& state, const std::vector<SortKey>& keys);

}  // namespace kestavel
