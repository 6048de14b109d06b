#include "catalogue/PickMarks.h"

#include <string>

#include "platform/CodePage.h"

namespace kestavel {

void PickAllRows(const CommandContext& context) {
    ItemList& list = *context.window.list;
    for (int row = 0; row < list.rowCount(); ++row) list.setPicked(row, true);
    context.window.resultBox->append("\r\n\r\n已选择MOD个数：" + std::to_string(list.rowCount()));
}

void ClearPickMarks(ItemList& list) {
    for (int row = 0; row < list.rowCount(); ++row) list.setPicked(row, false);
}

void UnpickAllRows(const CommandContext& context) {
    ClearPickMarks(*context.window.list);
    context.window.resultBox->append("\r\n\r\n已选择MOD个数：0");
}

void PickHighlightedRows(const CommandContext& context) {
    ItemList& list = *context.window.list;
    const std::vector<int> highlighted = list.highlightedRows();
    for (int row : highlighted) list.setPicked(row, true);
    int picked = 0;
    std::string numbers;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (!list.isPicked(row)) continue;
        if (picked++ > 0) numbers += "，";
        numbers += GbkToUtf8(list.cell(row, 0));
    }
    context.window.resultBox->append("\r\n\r\n本次选择MOD个数：" +
                                     std::to_string(highlighted.size()));
    context.window.resultBox->append("\r\n当前共选择MOD个数：" + std::to_string(picked));
    context.window.resultBox->append("\r\n序号是：" + numbers);
    list.focus();
}

}  // namespace kestavel
