#pragma once

#include <string>

#include "app/ItemList.h"
#include "platform/GbkText.h"

namespace kestavel {

// The 序号 texts of the rows a find selected, in list order; shown joined by "，".
class HitNumbers {
  public:
    void add(const GbkText& number);
    // UTF-8, for the result box.
    std::string joined() const;

  private:
    GbkText joined_;
    bool any_ = false;
};

// "已查找到MOD个数：" with the count of highlighted rows, as read from the list.
std::string FoundCountText(const ItemList& list);

// The count text, then "\r\n序号是：" and the hit numbers.
std::string FoundRowsText(const ItemList& list, const HitNumbers& hits);

}  // namespace kestavel
