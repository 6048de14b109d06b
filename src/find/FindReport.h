#pragma once

#include <string>

#include "app/ItemList.h"
#include "platform/GbkText.h"

namespace kestavel {

// The 序号 texts of the rows a find selected, in list order; shown joined by "，".
class HitNumbers {
  public:
    void add(const GbkText& number);
    int count() const { return count_; }
    // UTF-8, for the result box.
    std::string joined() const;

  private:
    GbkText joined_;
    int count_ = 0;
};

// Rows highlighted in the list. A find that deselected every row first knows this count
// already: it is the number of its hits.
int HighlightedRowCount(const ItemList& list);

// "已查找到MOD个数：" and the number of selected rows.
std::string FoundCountText(int selectedRows);

// The count text, then "\r\n序号是：" and the hit numbers.
std::string FoundRowsText(int selectedRows, const HitNumbers& hits);

}  // namespace kestavel
