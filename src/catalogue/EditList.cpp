#include "catalogue/EditList.h"

#include "app/CommandFrame.h"
#include "catalogue/RecordNumber.h"

#include <array>
#include <cstdlib>

#include "catalogue/DisplayText.h"
#include "catalogue/ItemView.h"
#include "catalogue/ListMirror.h"
#include "catalogue/ModCatalogue.h"
#include "catalogue/RunFiles.h"
#include "catalogue/StartUp.h"

namespace kestavel {
namespace {

constexpr std::array<Field, 10> kEditFields = {
    Field::Number,       Field::Code,    Field::Name,    Field::Author,  Field::Gone,
    Field::MainCategory, Field::Detail1, Field::Detail2, Field::Detail3, Field::UpdateDate};

// The row of MainWindow's list that shows record m: row m − 1 while the list is in stored
// order, otherwise the row whose 序号 cell names m.
int MainRowOf(const ItemList& mainList, const GbkText& number, long m) {
    const int guess = static_cast<int>(m) - 1;
    if (guess >= 0 && guess < mainList.rowCount() && mainList.cell(guess, 0) == number)
        return guess;
    for (int row = 0; row < mainList.rowCount(); ++row) {
        if (mainList.cell(row, 0) == number) return row;
    }
    return -1;
}

}  // namespace

ItemRow EditRow(const ModRecord& record) {
    ItemRow row;
    row.reserve(kEditFields.size());
    for (Field field : kEditFields) {
        row.push_back(DisplayText(record[static_cast<std::size_t>(Position(field) - 1)]));
    }
    return row;
}

bool FillEditList(ItemList& list, const std::string& cataloguePath, std::string* error) {
    return FillList(list, cataloguePath, EditRow, error);
}

void ShowEditRowInMainWindow(const CommandContext& edit) {
    ItemList& mainList = *edit.itemView.mainList;
    const int row = edit.window.list->currentRow();
    if (row < 0) return;
    const GbkText number = edit.window.list->cell(row, 0);
    const GbkText code = edit.window.list->cell(row, 1);
    const int mainRow = MainRowOf(mainList, number, RecordNumberOf(number));
    if (mainRow >= 0) {
        mainList.setCurrentRow(mainRow);
        mainList.makeVisible(mainRow);
    }
    ShowItem(edit, number, code);
}

void KeepPickedRows(ItemList& list) {
    std::vector<int> kept;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.isPicked(row)) kept.push_back(row);
    }
    if (static_cast<int>(kept.size()) != list.rowCount()) list.reorderRows(kept);
}

bool ShowAllRows(const CommandContext& edit) {
    if (!RunFilesPresent(edit)) return false;
    CommandFrame frame(edit);
    std::string error;
    if (!FillEditList(*edit.window.list, CataloguePath(edit.runDirectory), &error)) {
        edit.services.dialogs->message("DEVodu.edb无法读取，列表未更新。\r\n(" + error + ")");
    }
    return true;
}

}  // namespace kestavel
