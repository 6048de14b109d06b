#pragma once

#include "app/ItemList.h"
#include "app/TextBox.h"
#include "find/SortState.h"

namespace kestavel {

// The key kind a header click sorts a column with: numbers for 序号 and 编码 (columns 0 and
// 1 in both lists), text for every other column.
KeyKind HeaderKeyKind(int column);

// Sorts the list by one column: the direction flips on every call, whatever the column or
// list; then the rows are keyed, stably sorted and the header arrow is updated. An empty list
// only flips the direction and shows the header arrows again.
void ColumnSort(SortState& state, ItemList& list, int column, KeyKind kind);

// Moves the header arrow to the sorted column, or flips it when the column keeps it.
void ArrowRule(SortState& state, ItemList& list, int column);

// A click on a column header of either list: sorts it and writes the time taken into the
// window's progress box, without changing whether the box is shown.
void HeaderClick(SortState& state, ItemList& list, TextBox& progressBox, int column);

}  // namespace kestavel
