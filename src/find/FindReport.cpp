#include "find/FindReport.h"

#include "platform/CodePage.h"

namespace kestavel {
namespace {

int HighlightedRowCount(const ItemList& list) {
    int count = 0;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.isHighlighted(row)) ++count;
    }
    return count;
}

}  // namespace

void HitNumbers::add(const GbkText& number) {
    static const GbkText kSeparator = Utf8ToGbk("，");
    if (any_) joined_ += kSeparator;
    any_ = true;
    joined_ += number;
}

std::string HitNumbers::joined() const {
    return GbkToUtf8(joined_);
}

std::string FoundCountText(const ItemList& list) {
    return "已查找到MOD个数：" + std::to_string(HighlightedRowCount(list));
}

std::string FoundRowsText(const ItemList& list, const HitNumbers& hits) {
    return FoundCountText(list) + "\r\n序号是：" + hits.joined();
}

}  // namespace kestavel
