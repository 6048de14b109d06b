#include "catalogue/ListMirror.h"

#include "catalogue/DisplayText.h"
#include "catalogue/ModCatalogue.h"

namespace kestavel {

ItemRow MirrorRow(const ModRecord& record) {
    ItemRow row;
    row.reserve(kFieldCount);
    for (const FieldValue& value : record) row.push_back(DisplayText(value));
    return row;
}

bool FillListMirror(ItemList& list, const std::string& cataloguePath, std::string* error) {
    return FillList(list, cataloguePath, MirrorRow, error);
}

bool FillList(ItemList& list, const std::string& cataloguePath, ItemRow (*rowOf)(const ModRecord&),
              std::string* error) {
    auto catalogue = ModCatalogue::open(cataloguePath, error);
    if (!catalogue) return false;
    std::vector<ItemRow> rows;
    rows.reserve(static_cast<std::size_t>(catalogue->recordCount()));
    bool ok = catalogue->forEachRecord(
        [&rows, rowOf](int, const ModRecord& record) { rows.push_back(rowOf(record)); });
    catalogue->close();
    if (!ok) {
        if (error) *error = "the records could not be read";
        return false;
    }
    list.removeAllRows();
    list.appendRows(std::move(rows));
    return true;
}

}  // namespace kestavel
