#include "catalogue/PickMarks.h"

#include "app/JoinedList.h"

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
    std::vector<std::string> numbers;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.isPicked(row)) numbers.push_back(GbkToUtf8(list.cell(row, 0)));
    }
    const std::size_t picked = numbers.size();
    context.window.resultBox->append("\r\n\r\n本次选择MOD个数：" +
                                     std::to_string(highlighted.size()));
    context.window.resultBox->append("\r\n当前共选择MOD个数：" + std::to_string(picked));
    context.window.resultBox->append("\r\n序号是：" + JoinedList(numbers));
    list.focus();
}

}  // namespace kestavel
