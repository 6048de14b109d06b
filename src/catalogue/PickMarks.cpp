#include "catalogue/PickMarks.h"

#include "app/JoinedList.h"

#include <string>

#include "platform/CodePage.h"

namespace kestavel {
namespace {

void PickAll(const CommandContext& context, std::string_view heading) {
    ItemList& list = *context.window.list;
    for (int row = 0; row < list.rowCount(); ++row) list.setPicked(row, true);
    context.window.resultBox->append(std::string(heading) + std::to_string(list.rowCount()));
}

// Column 0 names a row: its 序号 in the lists, its 编码 in the picture window.
void PickHighlighted(const CommandContext& context, std::string_view namesHeading) {
    ItemList& list = *context.window.list;
    const std::vector<int> highlighted = list.highlightedRows();
    for (int row : highlighted) list.setPicked(row, true);
    std::vector<std::string> names;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.isPicked(row)) names.push_back(GbkToUtf8(list.cell(row, 0)));
    }
    context.window.resultBox->append("\r\n\r\n本次选择MOD个数：" +
                                     std::to_string(highlighted.size()));
    context.window.resultBox->append("\r\n当前共选择MOD个数：" + std::to_string(names.size()));
    context.window.resultBox->append(std::string(namesHeading) + JoinedList(names));
    list.focus();
}

}  // namespace

void PickAllRows(const CommandContext& context) {
    PickAll(context, "\r\n\r\n已选择MOD个数：");
}

void ClearPickMarks(ItemList& list) {
    for (int row = 0; row < list.rowCount(); ++row) list.setPicked(row, false);
}

void UnpickAllRows(const CommandContext& context) {
    ClearPickMarks(*context.window.list);
    context.window.resultBox->append("\r\n\r\n已选择MOD个数：0");
}

void PickHighlightedRows(const CommandContext& context) {
    PickHighlighted(context, "\r\n序号是：");
}

void PickAllPictures(const CommandContext& picture) {
    PickAll(picture, "\r\n已选择MOD个数：");
}

void PickHighlightedPictures(const CommandContext& picture) {
    PickHighlighted(picture, "\r\n编号是：");
}

}  // namespace kestavel
