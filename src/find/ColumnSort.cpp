#include "find/ColumnSort.h"

#include <string>

#include "find/SortKeys.h"
#include "platform/Clock.h"

namespace kestavel {

KeyKind HeaderKeyKind(int column) {
    return column == 0 || column == 1 ? KeyKind::Number : KeyKind::Text;
}

void ColumnSort(SortState& state, ItemList& list, int column, KeyKind kind) {
    state.target = &list;
    list.setHeaderArrowsShown(true);
    state.ascending = !state.ascending;
    state.keyKind = kind;
    if (list.rowCount() == 0) return;
    SortRows(list, state, BuildSortKeys(list, column, kind, 0, state.collation));
    ArrowRule(state, list, column);
}

void ArrowRule(SortState& state, ItemList& list, int column) {
    if (column == state.arrowColumn) {
        list.setHeaderArrow(column, list.headerArrow(column) == HeaderArrow::Up ? HeaderArrow::Down
                                                                                : HeaderArrow::Up);
        return;
    }
    // The new column takes over the triangle the old one showed, so one shape can mean
    // ascending in one column and descending in another.
    list.setHeaderArrow(column, list.headerArrow(state.arrowColumn) == HeaderArrow::Up
                                    ? HeaderArrow::Up
                                    : HeaderArrow::Down);
    list.setHeaderArrow(state.arrowColumn, HeaderArrow::None);
    state.arrowColumn = column;
}

void HeaderClick(SortState& state, ItemList& list, TextBox& progressBox, int column) {
    const std::int64_t started = MillisecondsSinceStart();
    ColumnSort(state, list, column, HeaderKeyKind(column));
    const std::int64_t finished = MillisecondsSinceStart();
    progressBox.setText("对第" + std::to_string(column) + "列中的" +
                        std::to_string(list.rowCount()) + "条记录排序，共耗时：" +
                        std::to_string(finished - started) + "毫秒");
}

}  // namespace kestavel
