#include "find/FindReport.h"

#include "app/JoinedList.h"
#include "platform/CodePage.h"

namespace kestavel {

void HitNumbers::add(const GbkText& number) {
    static const GbkText kSeparator = Utf8ToGbk(kListSeparator);
    if (count_ > 0) joined_ += kSeparator;
    joined_ += number;
    ++count_;
}

std::string HitNumbers::joined() const {
    return GbkToUtf8(joined_);
}

int HighlightedRowCount(const ItemList& list) {
    return static_cast<int>(list.highlightedRows().size());
}

std::string FoundCountText(int selectedRows) {
    return "已查找到MOD个数：" + std::to_string(selectedRows);
}

std::string FoundRowsText(int selectedRows, const HitNumbers& hits) {
    return FoundCountText(selectedRows) + "\r\n序号是：" + hits.joined();
}

}  // namespace kestavel
